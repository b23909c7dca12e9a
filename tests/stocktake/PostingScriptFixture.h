#pragma once

#include <memory>
#include <string>

#include "PostingFixture.h"
#include "framework/ProcedureDefinition.h"
#include "frontend/headless/HeadlessFrontEnd.h"
#include "frontend/headless/ScriptRunner.h"
#include "runtime/ProcedureCall.h"
#include "runtime/ProcedureScheduler.h"

namespace dv::test {

// The posting's tables with the program's procedures, driven by UI scripts through the headless
// front end in the test's own process.
class PostingScriptFixture : public PostingFixture {
  public:
    PostingScriptFixture() : frontEnd(scheduler) {
        registerProgramProcedures(programProcedures());
        ScriptServices services;
        services.sql = [this](const std::string& statement, std::string& why) {
            return query.run(statement, why);
        };
        runner = std::make_unique<ScriptRunner>(scheduler, frontEnd, programProcedures(), services);
    }
    ~PostingScriptFixture() override {
        scheduler.shutdown();
        runner.reset();
    }

    // Runs the script; the test fails with the runner's report when it did not hold.
    void run(const std::string& script) {
        const auto failure = runner->run(parseScript(script));
        EXPECT_FALSE(failure) << failure->report();
    }

    ProcedureScheduler scheduler;
    HeadlessFrontEnd frontEnd;
    std::unique_ptr<ScriptRunner> runner;
};

}  // namespace dv::test
