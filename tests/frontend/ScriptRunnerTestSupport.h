#pragma once

#include <gtest/gtest.h>

#include "TestProcedures.h"
#include "frontend/headless/HeadlessFrontEnd.h"
#include "frontend/headless/ScriptRunner.h"

namespace dv::test {

// A scheduler with the test procedures, a headless front end and a script runner over them.
class ScriptRunnerTest : public ::testing::Test {
  protected:
    explicit ScriptRunnerTest(ScriptServices services = {})
        : frontEnd(scheduler),
          procedures(testProcedures()),
          runner(scheduler, frontEnd, procedures, std::move(services)) {}
    ~ScriptRunnerTest() override { scheduler.shutdown(); }

    std::optional<ScriptFailure> run(const std::string& script) {
        return runner.run(parseScript(script));
    }

    std::vector<std::string> ended() const {
        std::vector<std::string> out;
        for (const auto& e : runner.endedProcedures())
            out.push_back(e.name + "=" + std::to_string(responseNumber(e.response)));
        return out;
    }

    ProcedureScheduler scheduler;
    HeadlessFrontEnd frontEnd;
    ProcedureRegistry procedures;
    ScriptRunner runner;
};

}  // namespace dv::test
