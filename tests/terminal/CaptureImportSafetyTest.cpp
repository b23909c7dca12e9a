#include <gtest/gtest.h>
#include <signal.h>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <memory>

#include "support/KillChild.h"
#include "CaptureImportModel.h"
#include "runtime/Window.h"
#include "storage/SqliteDatabase.h"
#include "stocktake/StocktakeLocks.h"
#include "support/OtherStation.h"
#include "support/TestEngine.h"

namespace dv {
namespace {

constexpr int kLines = 2400;
constexpr const char* kUnchanged =
    "| Predloga, arhiv zajema in datoteka zajema so ostali nespremenjeni.";

// An import that does not complete leaves template, archive table and capture file as they
// were and writes no archive copy; imported again, the file gives what one undisturbed import
// gives.
class CaptureImportSafety : public test::CaptureImportFixture {
  protected:
    CaptureImportSafety() : model(kLines) {
        test::CaptureModel::addCompany(*tables);
        writeFile(capture, model.file);
        before = state();
    }

    // The script of an import that ends with the box `message`, answered OK.
    static std::string endingWith(const std::string& message) {
        return "start Uvoz\nmessage \" OPOZORILO\" \"" + message + "\"\nanswer OK\n";
    }

    void expectUntouched() {
        EXPECT_EQ(state(), before);
        EXPECT_TRUE(archived().empty());
    }

    void expectImportedAfterwards() {
        importWith({});
        run("start Uvoz\n");
        EXPECT_EQ(sql(test::CaptureModel::kTemplateQuery), model.templateRows());
        EXPECT_EQ(sql(test::CaptureModel::kArchiveQuery), model.archiveSummary());
        EXPECT_EQ(sql("SELECT MIN(ZAPIS), MAX(ZAPIS), COUNT(*) FROM INVTPS"),
                  "1|" + std::to_string(kLines) + "|" + std::to_string(kLines));
        EXPECT_FALSE(std::filesystem::exists(capture));
        ASSERT_EQ(archived(), std::vector<std::string>{kArchive});
        EXPECT_EQ(readFile(archive / kArchive), model.file);
    }

    // Runs `statement` on the program's own connection (a test's failing write).
    void execute(const std::string& statement) {
        char* error = nullptr;
        ASSERT_EQ(sqlite3_exec(tables->sqliteDatabase()->handle(), statement.c_str(), nullptr,
                               nullptr, &error),
                  SQLITE_OK)
            << error;
    }

    test::CaptureModel model;
    std::string before;
};

// While another station posts the stocktake, an import into it is refused with the station's
// name and what it does, and nothing is written; once the posting station is done, it imports.
TEST_F(CaptureImportSafety, AnImportWhileAnotherStationPostsIsRefusedAndKeepsNothing) {
    DV_SERVER_ONLY();
    test::OtherStation other("BLAGAJNA2");
    other.hold(stocktakeLock({7, 1, "M"}), false, StationWork::Posting);
    importWith({});
    run(endingWith(" Postaja BLAGAJNA2 ta trenutek knjiži inventurne razlike za inventuro št. "
                   "7.|| Uvoza zajema zdaj ni mogoče začeti; ponovite ga, ko bo končano." +
                   std::string(kUnchanged)));
    expectUntouched();
    other.release();
    expectImportedAfterwards();
}

// Imports take turns: one started while another station imports waits until that one has
// ended (its archive records numbered after the other's), then imports the whole file.
TEST_F(CaptureImportSafety, AnImportWaitsWhileAnotherStationImports) {
    DV_SERVER_ONLY();
    test::OtherStation other("BLAGAJNA2");
    other.hold({kImportLock, 0}, false, StationWork::Import);
    other.hold(stocktakeLock({7, 1, "M"}), true, StationWork::Import);
    const std::string archiveTable = test::serverSchema(*tables, directory.path()) + ".invtps";
    std::string archivedMeanwhile;
    other.releaseLater(std::chrono::milliseconds(400), [&] {
        archivedMeanwhile = test::queryServer("SELECT count(*) FROM " + archiveTable);
    });
    expectImportedAfterwards();
    other.join();
    EXPECT_EQ(archivedMeanwhile, "0") << "nothing was imported while the other station imported";
}

TEST_F(CaptureImportSafety, CancelHalfwayKeepsNothing) {
    std::int64_t seen = 0;
    auto elapsed = std::make_shared<std::chrono::microseconds>(0);
    CaptureImportHooks hooks;
    // Each line takes a millisecond: the window takes its events every few hundred lines.
    hooks.clock = [elapsed] { return *elapsed; };
    hooks.watcher = [&, elapsed](Window& progress, std::int64_t done) {
        *elapsed += std::chrono::milliseconds(1);
        seen = done;
        if (done == kLines / 2) progress.post(EventKind::Accepted, progress.control("Cancel"));
    };
    importWith(hooks);
    run(endingWith(std::string(" Uvoz zajema je preklican.") + kUnchanged));
    EXPECT_GE(seen, kLines / 2);
    EXPECT_LT(seen, kLines) << "the pass stops after the slice in which Cancel came";
    expectUntouched();
    expectImportedAfterwards();
}

// The archive table refuses a record halfway: the table layer's message, the import's own with
// the line's code, and nothing kept.
TEST_F(CaptureImportSafety, AFailedArchiveWriteHalfwayKeepsNothing) {
    DV_EMBEDDED_ONLY("the failing write is an SQLite trigger; on the server a lost connection fails the import halfway");
    execute("CREATE TEMP TRIGGER Polno BEFORE INSERT ON INVTPS WHEN (SELECT COUNT(*) FROM "
            "INVTPS) >= 1200 BEGIN SELECT RAISE(ABORT, 'database or disk is full'); END");
    importWith({});
    run("start Uvoz\n"
        "message \"Record Insert Error\" \"An error was experienced during the creation of a "
        "record. Error: Could not add a record to " +
        (directory.path() / "invtps.tps").string() +
        ": the database reported an error (database or disk is full) (1811).\"\n"
        "answer OK\n"
        "message-contains \"Napaka add INVTPS File System Error: Could not add a record to \"\n"
        "message-contains \"(database or disk is full)\"\n"
        "answer OK\n"
        "message \" OPOZORILO\" \" Uvoz zajema je prekinjen zaradi napake." +
        std::string(kUnchanged) + "\"\nanswer OK\n");
    expectUntouched();
    execute("DROP TRIGGER Polno");
    expectImportedAfterwards();
}

TEST_F(CaptureImportSafety, AFailedTemplateWriteHalfwayKeepsNothing) {
    DV_EMBEDDED_ONLY("the failing write is an SQLite trigger; on the server a lost connection fails the import halfway");
    execute("CREATE TEMP TRIGGER Polno BEFORE UPDATE ON INVENDET WHEN (SELECT COUNT(*) FROM "
            "INVTPS) >= 1000 BEGIN SELECT RAISE(ABORT, 'disk I/O error'); END");
    importWith({});
    run("start Uvoz\n"
        "message-contains \"Napaka PUT INVEDET \"\n"
        "answer OK\n"
        "message \" OPOZORILO\" \" Uvoz zajema je prekinjen zaradi napake." +
        std::string(kUnchanged) + "\"\nanswer OK\n");
    expectUntouched();
    execute("DROP TRIGGER Polno");
    expectImportedAfterwards();
}

// The program on the tables of the fixture's directory in a child process, as start-up sets it
// up, importing until it has done half the lines; there it tells the parent and waits to be
// killed.
[[noreturn]] void importUntilKilled(const std::filesystem::path& directory,
                                    const std::filesystem::path& capture, int ready) {
    SettingsManager settings;
    (void)resolveTableFileNames(settings, directory);
    setTableFileName("INVASCI", capture.string());
    ErrorReporter errors;
    const std::unique_ptr<TableAccess> tables = test::testTableAccess(&errors);
    setProgramServices({&errors, &settings});
    ProcedureScheduler scheduler;
    HeadlessFrontEnd frontEnd(scheduler);
    ProcedureRegistry procedures;
    procedures.add("Uvoz", [ready] {
        CaptureImportHooks hooks;
        hooks.watcher = [ready](Window&, std::int64_t done) {
            if (done != kLines / 2) return;
            const char byte = 'y';
            if (write(ready, &byte, 1) != 1) _exit(3);
            for (;;) pause();
        };
        return runCaptureImport("KnjizenjeINVASCI", hooks);
    });
    ScriptRunner runner(scheduler, frontEnd, procedures);
    const auto failure = runner.run(parseScript("start Uvoz\n"));
    if (failure) std::fprintf(stderr, "%s\n", failure->report().c_str());
    _exit(2);  // the import ended without being killed
}

TEST_F(CaptureImportSafety, AProgramKilledHalfwayKeepsNothing) {
    // Only the child holds a connection while it imports.
    tables.reset();
    test::killChildWhenSignalled([&](int fd) { importUntilKilled(directory.path(), capture, fd); });
    if (HasFatalFailure()) return;
    tables = test::testTableAccess(&errors);
    expectUntouched();
    expectImportedAfterwards();
}

// An archive folder that cannot take a file is found before anything is written.
TEST_F(CaptureImportSafety, AnArchiveFolderThatCannotBeWrittenStopsTheImportBeforeIt) {
    writeFile(directory.path() / "datoteka", "");
    GLO.POTARHIVZAJEMAASCII = (directory.path() / "datoteka" / "arhiv").string();
    importWith({});
    run("start Uvoz\nmessage-contains \" V mapo za arhiv zajema ni mogoče pisati:| " +
        (directory.path() / "datoteka" / "arhiv").string() +
        "/|| Not a directory|| Popravite \\\"Pot arhiva ASCII\\\" v nastavitvah programa; "
        "zajem ni bil uvožen.\"\nanswer OK\n");
    expectUntouched();
    GLO.POTARHIVZAJEMAASCII = archive.string() + "/";
    expectImportedAfterwards();
}

// Another window or program changes the file while it is imported: the lines read are not the
// file that would be archived, so nothing is kept and the changed file stays.
TEST_F(CaptureImportSafety, AFileChangedDuringTheImportIsNotImported) {
    importWith({[&](Window&, std::int64_t done) {
        if (done == 10) writeFile(capture, model.file + "\"3830000000001\";\"1\"\r\n");
    }});
    run(endingWith(" Datoteka zajema se je med uvozom spremenila, zato ni bila uvožena." +
                   std::string(kUnchanged) + "|| Uvoz ponovite."));
    EXPECT_EQ(readFile(capture), model.file + "\"3830000000001\";\"1\"\r\n");
    writeFile(capture, model.file);
    expectUntouched();
    expectImportedAfterwards();
}

// The copy fails after the counts were kept: the file stays, and the user learns that it must
// not be imported again.
TEST_F(CaptureImportSafety, ACopyThatCannotBeWrittenKeepsTheCaptureFileAndSaysSo) {
    importWith({[&](Window&, std::int64_t done) {
        if (done == 1) std::filesystem::remove_all(archive);
    }});
    run("start Uvoz\nmessage-contains \" Zajem je uvožen, arhivske kopije datoteke zajema pa ni "
        "bilo mogoče zapisati:| " +
        (archive / kArchive).string() + "|| No such file or directory|| Datoteka zajema ostaja "
        "na mestu: " + capture.string() +
        "| Ne uvažajte je ponovno, ker so količine že v popisu;| shranite jo drugam.\"\n"
        "answer OK\n");
    EXPECT_EQ(readFile(capture), model.file);
    EXPECT_EQ(sql(test::CaptureModel::kTemplateQuery), model.templateRows());
    EXPECT_EQ(sql(test::CaptureModel::kArchiveQuery), model.archiveSummary());
}

}  // namespace
}  // namespace dv
