#include "app/ProgramSettings.h"

#include <gtest/gtest.h>

#include <fstream>

#include "app/WorkingDirectorySettings.h"
#include "data/SettingsManager.h"
#include "data/TableFileNames.h"
#include "frontend/TempDirectory.h"
#include "schema/ProgramGlobals.h"

namespace dv {
namespace {

class ProgramSettings : public ::testing::Test {
  protected:
    ProgramSettings() {
        clearProgramGlobals();
        resetTableFileNames();
    }
    ~ProgramSettings() override {
        clearProgramGlobals();
        resetTableFileNames();
    }

    SettingsManager& settingsWith(const std::string& text) {
        std::ofstream(directory.path() / "ZALTO.INI") << text;
        EXPECT_TRUE(settings.open(directory.path()).ok());
        return settings;
    }

    test::TempDirectory directory;
    SettingsManager settings;
};

TEST_F(ProgramSettings, AMissingFileGivesEveryDefault) {
    readProgramSettings(settingsWith(""));
    readSupplierSubgroupSetting(settings);
    EXPECT_EQ(GLO.SIFRALASTNIKAPROGRAMA, 0u);
    EXPECT_EQ(GLO.VRSTAPROMETAINVMANJKOVP, 0);
    EXPECT_EQ(GLO.VRSTAPZAC, "V");
    EXPECT_EQ(GLO.ENOTAZAC, 1);
    EXPECT_EQ(GLO.OZNAKAZAC, "N");
    EXPECT_EQ(GLO.VRSTAPROMETAZAC, 18);
    EXPECT_TRUE(GLO.POTARHIVZAJEMAASCII.blank());
    EXPECT_EQ(GLO.PREDLAGANDEFAULTPOPIS, 1);
    EXPECT_EQ(GLO.DOLZINAEAN, 13);
    EXPECT_EQ(GLO.KOPIJEIZPISAMP, 1);
    EXPECT_EQ(GLO.OSNOVNOSKLADISCE, 1);
    EXPECT_EQ(GLO.ENOSKLADISCE, "D");
    EXPECT_EQ(GLO.NACINVODENJAZALOG, "PNAC");
    EXPECT_TRUE(GLO.MARZANADEBELO.value().isZero());
    EXPECT_EQ(GLO.PODGRUPADOBAVITELJ, 0u);
    // No capture file set: the capture table keeps the file start-up gave it.
    EXPECT_EQ(tableFileName("INVASCI"), "INVASCII.txt");
}

TEST_F(ProgramSettings, ReadsEachEntryIntoItsVariable) {
    readProgramSettings(settingsWith(
        "[SPLOŠNO]\nSifraLastnikaPrograma=4000000000\nVrstaPrometaInvManjkoVP=35\n"
        "VrstaPrometaInvVisekMP=16\nNacinVodenjaZalog=FIFO\nDatumDovoljeneObdelave=81500\n"
        "[SERVISNE]\nVrsta prodaje ZN=M\nSkladišče ZN=7\nPot arhiva ASCII=C:\\Arhiv\\\n"
        "DefaultPopis=0\n[TERMINAL]\nMAPA IN IME DATOTEKE TERMINALA=C:\\Zajem\\INV.TXT\n"
        "Dolzina EAN=8\n[NABAVA]\nMarzaNaDebelo=12,5\nMejnaMarza=7.25\n[ARTIKLI]\nSifraEM=3\n"));
    EXPECT_EQ(GLO.SIFRALASTNIKAPROGRAMA, 4000000000u);
    EXPECT_EQ(GLO.VRSTAPROMETAINVMANJKOVP, 35);
    EXPECT_EQ(GLO.VRSTAPROMETAINVVISEKMP, 16);
    EXPECT_EQ(GLO.NACINVODENJAZALOG, "FIFO");
    EXPECT_EQ(GLO.DATUMDOVOLJENEOBDELAVE, 81500);
    EXPECT_EQ(GLO.VRSTAPZAC, "M");
    EXPECT_EQ(GLO.ENOTAZAC, 7);
    EXPECT_EQ(GLO.POTARHIVZAJEMAASCII, "C:\\Arhiv\\");
    EXPECT_EQ(GLO.PREDLAGANDEFAULTPOPIS, 0);
    EXPECT_EQ(GLO.DOLZINAEAN, 8);
    EXPECT_EQ(GLO.MARZANADEBELO.units(), 1250);
    EXPECT_EQ(GLO.MEJNAMARZA.units(), 725);
    EXPECT_EQ(GLO.SIFRAEM, 3);
    EXPECT_EQ(GLO.MAPADATOTEKETERMINALA, "C:\\Zajem\\INV.TXT");
    EXPECT_EQ(tableFileName("INVASCI"), "C:/Zajem/INV.TXT");
}

TEST_F(ProgramSettings, AValueThatIsNoNumberOrDoesNotFitReadsAsZero) {
    readProgramSettings(settingsWith(
        "[SPLOŠNO]\nVrstaPrometaInvVisekVP=70000\nVrstaPrometaInvManjkoMP=-1\n"
        "SifraLastnikaPrograma=12abc\n[SERVISNE]\nSkladišče ZN=40000\n"
        "[NABAVA]\nDealerMarza=123456,78\nMarzaNaDrobno=veliko\n"));
    EXPECT_EQ(GLO.VRSTAPROMETAINVVISEKVP, 0);
    EXPECT_EQ(GLO.VRSTAPROMETAINVMANJKOMP, 0);
    EXPECT_EQ(GLO.SIFRALASTNIKAPROGRAMA, 0u);
    EXPECT_EQ(GLO.ENOTAZAC, 0);
    EXPECT_TRUE(GLO.DEALERMARZA.value().isZero());
    EXPECT_TRUE(GLO.MARZANADROBNO.value().isZero());
}

TEST_F(ProgramSettings, TheFinancialPartnersMoveToTheirOwnFileUnlessTheSuiteSaysOtherwise) {
    setTableFileName("SFPARTFIN", "/podatki/sfpartn.tps");
    readPartnerSettings(settingsWith("[SPLOŠNO]\nCeneGeslo=0\n"));
    EXPECT_EQ(GLO.PARTNERJIFIN, "N");
    EXPECT_EQ(GLO.CENEGESLO, 0);
    EXPECT_EQ(tableFileName("SFPARTFIN"), "/podatki/sfparfin.tps");

    setTableFileName("SFPARTFIN", "/podatki/sfpartn.tps");
    readPartnerSettings(settingsWith("[SPLOŠNO]\nPartnerjiFIN=D\n"));
    EXPECT_EQ(GLO.CENEGESLO, 1);
    EXPECT_EQ(tableFileName("SFPARTFIN"), "/podatki/sfpartn.tps");
}

TEST_F(ProgramSettings, TheWorkingDirectorysFileIsTheProgramsOwnWhenBothAreOneDirectory) {
    settingsWith("[Global]\nDatumBackup=81000\n");
    WorkingDirectorySettings same(settings, directory.path() / ".");
    EXPECT_FALSE(same.separate());
    readPaperSetting(same.file());
    readBackupSettings(same.file());
    EXPECT_EQ(GLO.PAPIR, 1);
    EXPECT_EQ(GLO.DATUMBACKUP, 81000);
    EXPECT_EQ(settings.readText("Global", "Papir", ""), "1") << "written back";

    test::TempDirectory elsewhere;
    std::ofstream(elsewhere.path() / "zalto.ini") << "[Global]\nPapir=3\n[SPLOŠNO]\nSifraDavcna=1\n";
    WorkingDirectorySettings other(settings, elsewhere.path());
    EXPECT_TRUE(other.separate());
    readPaperSetting(other.file());
    readTaxNumberSwitch(other.file());
    readBackupSettings(other.file());
    EXPECT_EQ(GLO.PAPIR, 3);
    EXPECT_EQ(GLO.SIFRADAVCNA, 1);
    EXPECT_EQ(GLO.DATUMBACKUP, 0) << "the program's file is not read for it";
}

}  // namespace
}  // namespace dv
