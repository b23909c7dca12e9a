#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <memory>

#include "support/KillChild.h"
#include "data/RecordBuffers.h"
#include "data/SettingsManager.h"
#include "data/TableFileNames.h"
#include "framework/ErrorReporter.h"
#include "framework/ProcedureByName.h"
#include "framework/ProcedureDefinition.h"
#include "framework/ProgramServices.h"
#include "frontend/TempDirectory.h"
#include "frontend/headless/HeadlessFrontEnd.h"
#include "frontend/headless/ScriptQuery.h"
#include "frontend/headless/ScriptRunner.h"
#include "schema/ProgramGlobals.h"
#include "schema/Records.h"
#include "stocktake/TemplateBatch.h"
#include "storage/TableAccess.h"
#include "support/TestEngine.h"

namespace dv {
namespace {

constexpr int kItems = 4000;
constexpr std::int64_t kKilledAt = 2000;

// The program on the tables of `directory` in this process: what start-up sets up for the
// procedures, and a UI script runner.
struct Program {
    explicit Program(const std::filesystem::path& directory) : frontEnd(scheduler) {
        (void)resolveTableFileNames(settings, directory);
        clearAllRecordBuffers();
        tables = test::testTableAccess(&errors);
        setProgramServices({&errors, &settings});
        registerProgramProcedures(programProcedures());
        runner = std::make_unique<ScriptRunner>(scheduler, frontEnd, procedures);
    }
    ~Program() {
        scheduler.shutdown();
        runner.reset();
        tables.reset();
        resetTableFileNames();
    }

    SettingsManager settings;
    ErrorReporter errors;
    std::unique_ptr<TableAccess> tables;
    ProcedureScheduler scheduler;
    HeadlessFrontEnd frontEnd;
    ProcedureRegistry procedures;
    std::unique_ptr<ScriptRunner> runner;
};

void addItems(TableAccess& tables) {
    FileManager& items = tables.file("ARTIKLI");
    FileManager& stock = tables.file("ZALOGA");
    ASSERT_EQ(items.Open(), kLevelBenign);
    ASSERT_EQ(stock.Open(), kLevelBenign);
    ASSERT_EQ(items.UseFile(), kLevelBenign);
    ASSERT_EQ(stock.UseFile(), kLevelBenign);
    ASSERT_EQ(tables.beginTransaction(), DriverCode::Ok);
    for (int i = 1; i <= kItems; ++i) {
        const std::string ean = std::to_string(1000000 + i);
        clearRecord(items.table(), items.buffer());
        ARTIKLI.EAN = ean;
        ASSERT_EQ(items.driver()->add(), DriverCode::Ok);
        clearRecord(stock.table(), stock.buffer());
        ZALOGA.EAN = ean;
        ZALOGA.ENOTA = 1;
        ZALOGA.ZALOGA = Decimal(i);
        ASSERT_EQ(stock.driver()->add(), DriverCode::Ok);
    }
    ASSERT_EQ(tables.commit(), DriverCode::Ok);
    (void)items.Close();
    (void)stock.Close();
}

// In the child: the first preparation of stocktake 4 of unit 1, which tells the parent through
// `ready` when it has written kKilledAt rows and then waits there to be killed.
[[noreturn]] void prepareUntilKilled(const std::filesystem::path& directory, int ready) {
    Program program(directory);
    program.procedures.add("Priprava", [ready] {
        INVENTUR.StevInventure = 4;
        INVENTUR.Enota = 1;
        INVENTUR.VRSTAPRODAJE = "M";
        GLO.RepreparationMode = 0;
        TemplateBatchHooks hooks;
        hooks.watcher = [ready](Window&, std::int64_t done) {
            if (done != kKilledAt) return;
            const char byte = 'y';
            if (write(ready, &byte, 1) != 1) _exit(3);
            for (;;) pause();
        };
        return runTemplateBatch("PripravaPredloge", hooks);
    });
    const auto failure = program.runner->run(parseScript("start Priprava\nanswer Yes\nidle\n"));
    if (failure) std::fprintf(stderr, "%s\n", failure->report().c_str());
    _exit(2);  // the batch ended without being killed
}

TEST(TemplateKilled, AProgramKilledInTheMiddleOfAFirstPreparationLeavesNoTemplateRow) {
    test::TempDirectory directory;
    {
        Program program(directory.path());
        addItems(*program.tables);
    }
    test::killChildWhenSignalled([&](int fd) { prepareUntilKilled(directory.path(), fd); });
    if (HasFatalFailure()) return;

    Program program(directory.path());
    const ScriptQuery query(directory.path());
    std::string why;
    EXPECT_EQ(query.run("SELECT COUNT(*) FROM INVENDET", why).value_or(why), "0");
    EXPECT_EQ(query.run("SELECT COUNT(*) FROM ARTIKLI", why).value_or(why),
              std::to_string(kItems));
}

}  // namespace
}  // namespace dv
