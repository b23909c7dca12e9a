#include <gtest/gtest.h>
#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <fstream>

#include "ProgramRun.h"
#include "TempDirectory.h"

namespace dv {
namespace {

using test::ProgramRun;
using test::runProgram;

class ScriptCommandLine : public ::testing::Test {
  protected:
    ProgramRun script(const std::string& text, const std::string& options = "") {
        std::ofstream(directory.path() / "test.script") << text;
        return runProgram(directory.path(), options + " script test.script");
    }
    test::TempDirectory directory;
};

constexpr const char* kUnknownProcedure = R"(# a procedure nobody defined
start NoSuchProcedure
message "Procedure not defined" "The Procedure NoSuchProcedure has not been defined."
answer OK
idle
)";

TEST_F(ScriptCommandLine, ExitsZeroWhenEveryLineHolds) {
    ProgramRun run = script(kUnknownProcedure, "--today 31.12.2024 --time 08:30");
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_EQ(run.output, "");
}

TEST_F(ScriptCommandLine, ExitsOneWithTheLineExpectedAndSeenWhenALineDoesNotHold) {
    ProgramRun run = script("start NoSuchProcedure\nidle\n");
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.output.find("test.script: line 2: idle\n"), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("  expected: no message box open\n"), std::string::npos)
        << run.output;
    EXPECT_NE(run.output.find("  seen:     message \"Procedure not defined\""), std::string::npos)
        << run.output;
    EXPECT_NE(run.output.find("  windows:  none open\n"), std::string::npos) << run.output;

    run = script("idle\nwindow \"    DIDEROVIV \"\n");
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.output.find("line 2: window \"    DIDEROVIV \""), std::string::npos)
        << run.output;
}

TEST_F(ScriptCommandLine, RefusesAMalformedScriptBeforeRunningAnything) {
    ProgramRun run = script("start NoSuchProcedure\nklik ?OK\n");
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.output, "test.script: line 2: unknown command 'klik'\n");
}

TEST_F(ScriptCommandLine, ReportsAMissingFileAndABadClock) {
    ProgramRun run = runProgram(directory.path(), "script missing.script");
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.output.find("cannot read the script missing.script"), std::string::npos);
    run = script("idle\n", "--today 31.02.2024");
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.output.find("--today needs a date dd.mm.yyyy"), std::string::npos);
    run = script("idle\n", "--time 25:00");
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.output.find("--time needs a time hh:mm"), std::string::npos);
    run = runProgram(directory.path(), "script");
    EXPECT_EQ(run.status, 2);
}

}  // namespace
}  // namespace dv
