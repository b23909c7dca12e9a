#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>

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
#include "runtime/ProcedureCall.h"
#include "storage/TableAccess.h"
#include "support/TestEngine.h"

namespace dv::test {

// A started program in the test's own process, on fresh tables in a temporary directory: the
// error reporter, the settings file, the table access and the program services, procedures run
// by a scheduler of their own and driven by UI scripts through the headless front end. The
// forms are called the way their lists call them (see caller).
class FormScriptFixture : public ::testing::Test {
  protected:
    FormScriptFixture() : frontEnd(scheduler), query(directory.path()) {
        EXPECT_TRUE(resolveTableFileNames(settings, directory.path()).ok());
        clearAllRecordBuffers();
        tables = testTableAccess(&errors);
        previous = setProgramServices({&errors, &settings});
        registerProgramProcedures(programProcedures());
        ScriptServices services;
        services.sql = [this](const std::string& sql, std::string& why) {
            return query.run(sql, why);
        };
        runner = std::make_unique<ScriptRunner>(scheduler, frontEnd, procedures, services);
    }
    ~FormScriptFixture() override {
        scheduler.shutdown();
        runner.reset();
        setProgramServices(previous);
        tables.reset();
        resetTableFileNames();
    }

    // Registers `name`: a procedure that does what a list does around its form. It holds the
    // table open, prepares a new numbered record for an insert, or reads the record whose key
    // values `position` puts in the buffer for any other request, then calls `form` with the
    // request. Its response is the form's.
    void caller(const std::string& name, const std::string& table, Request request,
                std::function<void()> position, ProcedureBody form) {
        procedures.add(name, [table, request, position, form] {
            FileManager& file = tableAccess().file(table);
            if (file.Open() != kLevelBenign) return RespCancelled;
            bool ready = false;
            if (request == ReqInsert) {
                ready = file.PrepareNew() == kLevelBenign;
            } else {
                clearRecord(file.table(), file.buffer());
                position();
                ready = file.Fetch(file.primaryKey()) == kLevelBenign;
            }
            const Response response = ready ? callProcedure(form, request) : RespCancelled;
            file.Close();
            return response;
        });
    }

    // Inserts the record in the buffer of `table` as it stands.
    void insert(const std::string& table, const std::function<void()>& fill) {
        FileManager& file = tables->file(table);
        ASSERT_EQ(file.Open(), kLevelBenign);
        clearRecord(file.table(), file.buffer());
        fill();
        EXPECT_EQ(file.Insert(), kLevelBenign);
        file.Close();
    }

    // Runs the script; the test fails with the runner's report when it did not hold.
    void run(const std::string& script) {
        const auto failure = runner->run(parseScript(script));
        EXPECT_FALSE(failure) << failure->report();
    }

    TempDirectory directory;
    SettingsManager settings;
    ErrorReporter errors;
    std::unique_ptr<TableAccess> tables;
    ProgramServices previous;
    ProcedureScheduler scheduler;
    HeadlessFrontEnd frontEnd;
    ProcedureRegistry procedures;
    ScriptQuery query;
    std::unique_ptr<ScriptRunner> runner;
};

}  // namespace dv::test
