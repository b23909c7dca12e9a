#include "app/ProgramStartUp.h"

#include <gtest/gtest.h>

#include <fstream>
#include <stdexcept>

#include "StartUpTestSupport.h"
#include "app/CompanyGlobals.h"
#include "app/DatabaseChoice.h"
#include "data/RecordBuffers.h"
#include "data/TableFileNames.h"
#include "framework/ProgramServices.h"
#include "runtime/Halt.h"
#include "runtime/ProcedureRegistry.h"
#include "schema/ProgramGlobals.h"
#include "schema/Records.h"

namespace dv {
namespace {

class ProgramStartUpTest : public ::testing::Test {
  protected:
    ~ProgramStartUpTest() override {
        program.reset();
        resetTableFileNames();
        clearProgramGlobals();
    }

    void start() {
        std::string error;
        program = ProgramStartUp::start(folder.program(), error);
        ASSERT_NE(program, nullptr) << error;
    }

    // A company record, numbered by the table as the suite's company form numbers it.
    void addCompany(std::uint16_t expectedCode, const char* name) {
        FileManager& company = program->tables().file("APPINS");
        ASSERT_EQ(company.Open(), kLevelBenign);
        clearRecord(company.table(), company.buffer());
        APPINS.NAZIVPODJETJA = name;
        APPINS.NASLOV = "Glavna cesta 1";
        APPINS.POSTAKRAJ = "1000 Ljubljana";
        APPINS.DAVCNASTEVILKA = 12345678;
        APPINS.DATUMSRG = dayNumber(2001, 5, 4);
        APPINS.DNIVALUTE = 30;
        APPINS.ZAVEZANEC = "D";
        APPINS.PRAVNAOBLIKA = "D.O.O.";
        APPINS.VRSTAPOSLOVNEGARACUNA = "P";
        APPINS.LOGOTIP1 = "logo.jpg";
        EXPECT_EQ(company.Insert(), kLevelBenign);
        EXPECT_EQ(APPINS.SIFRAPODJETJA, expectedCode);
        company.Close();
        clearRecord(company.table(), company.buffer());
    }

    test::ProgramFolder folder;
    std::unique_ptr<ProgramStartUp> program;
};

TEST_F(ProgramStartUpTest, StartsTheServicesWithTheTableFilesResolvedAndEndsThem) {
    GLO.NAZIVIZPISA = "ostanek prejšnjega dela";
    start();
    EXPECT_TRUE(GLO.NAZIVIZPISA.blank()) << "the variables are cleared first";
    EXPECT_EQ(&programErrors(), &program->errors());
    EXPECT_EQ(&programSettings(), &program->settings());
    EXPECT_EQ(&tableAccess(), &program->tables());
    EXPECT_NE(programProcedures().find("Main"), nullptr);
    EXPECT_NE(programProcedures().find("InvInfo"), nullptr);

    EXPECT_EQ(program->settings().path(), folder.program() / "ZALTO.INI");
    EXPECT_EQ(std::filesystem::path(tableFileName("ARTIKLI")), folder.program() / "artikli.tps");

    EXPECT_TRUE(program->shutDown().ok());
    EXPECT_THROW(programErrors(), std::logic_error);
    EXPECT_TRUE(program->shutDown().ok()) << "once is enough";
}

TEST_F(ProgramStartUpTest, ASettingsFileThatCannotBeReadStopsTheStart) {
    std::filesystem::create_directory(folder.program() / "ZALTO.INI");
    std::string error;
    EXPECT_EQ(ProgramStartUp::start(folder.program(), error), nullptr);
    EXPECT_FALSE(error.empty());
    EXPECT_THROW(programSettings(), std::logic_error);
}

// "BAZA"/"Povezava" names a server that is not there: the start stops with the reason in
// Slovenian and leaves the directory without any database; --database overrides the entry.
TEST_F(ProgramStartUpTest, AServerThatCannotBeReachedStopsTheStartAndSaysSo) {
    const std::string nowhere =
        "host=" + (folder.program() / "nikjer").string() + " dbname=trgovina";
    {
        std::ofstream settings(folder.program() / "ZALTO.INI");
        settings << "[BAZA]\r\nPovezava=" << nowhere << "\r\n";
    }
    std::string error;
    EXPECT_EQ(ProgramStartUp::start(folder.program(), error), nullptr);
    EXPECT_EQ(error.rfind("Strežnika zbirke podatkov ni mogoče doseči (", 0), 0u) << error;
    EXPECT_FALSE(std::filesystem::exists(folder.program() / "dideroviv.db"));

    setDatabaseOverride(std::string());  // --database "": the embedded database for this run
    program = ProgramStartUp::start(folder.program(), error);
    setDatabaseOverride(std::nullopt);
    ASSERT_NE(program, nullptr) << error;
    EXPECT_NE(program->tables().sqliteDatabase(), nullptr);
}

TEST_F(ProgramStartUpTest, AFatalEndStillWritesBackWhatTheSettingsHold) {
    start();
    program->settings().holdWrites();
    EXPECT_TRUE(program->settings().write("Main", "XPos", "120").ok());
    runShutdownHooks();
    EXPECT_EQ(folder.entry("ZALTO.INI", "Main", "XPos"), "120");
}

TEST_F(ProgramStartUpTest, CopiesTheCompanyRecordIntoTheCompanyVariables) {
    start();
    copyCompanyGlobals();
    EXPECT_TRUE(GLO.NAZIVFIRME.blank()) << "no company yet";

    addCompany(1, "Trgovina Kos d.o.o.");
    addCompany(2, "Druga firma d.o.o.");
    copyCompanyGlobals();
    EXPECT_EQ(GLO.NAZIVFIRME, "Trgovina Kos d.o.o.");
    EXPECT_EQ(GLO.NASLOVFIRME, "Glavna cesta 1");
    EXPECT_EQ(GLO.POSTAKRAJ, "1000 Ljubljana");
    EXPECT_EQ(GLO.DAVCNASTEVILKA, 12345678);
    EXPECT_EQ(GLO.DATUMSRG, dayNumber(2001, 5, 4));
    EXPECT_EQ(GLO.DNIVALUTE, 30);
    EXPECT_EQ(GLO.LOGOTIP1, "logo.jpg");
    // The company record lies in the parent of the data directory.
    EXPECT_TRUE(std::filesystem::exists(folder.root() / "dideroviv.db"));
}

TEST_F(ProgramStartUpTest, ACompanyWithoutANameLeavesTheVariablesBlank) {
    start();
    addCompany(1, "");
    copyCompanyGlobals();
    EXPECT_TRUE(GLO.NAZIVFIRME.blank());
    EXPECT_TRUE(GLO.NASLOVFIRME.blank());
    EXPECT_EQ(GLO.DAVCNASTEVILKA, 0);
}

}  // namespace
}  // namespace dv
