#include <gtest/gtest.h>

#include <fstream>

#include "ProgramRun.h"
#include "TempDirectory.h"

namespace dv {
namespace {

using test::runProgram;

// --today and --time fix the clock for every verb: each verb refuses a malformed value before
// it does anything, and takes the forms a user types into a date or time field.
TEST(ProgramClockOptions, EveryVerbRefusesAMalformedClockWithStatusTwo) {
    test::TempDirectory directory;
    std::ofstream(directory.path() / "prazen.script") << "idle\n";
    const std::vector<std::string> verbs{"files", "dictionary --json", "script prazen.script",
                                         "--version"};
    for (const std::string& verb : verbs) {
        for (const char* today : {"31.02.2024", "abc", "''", "1.13.2024"}) {
            const test::ProgramRun run =
                runProgram(directory.path(), std::string("--today ") + today + " " + verb);
            EXPECT_EQ(run.status, 2) << verb << " " << today << "\n" << run.output;
            EXPECT_NE(run.output.find("--today needs a date dd.mm.yyyy, not '"), std::string::npos)
                << run.output;
        }
        for (const char* time : {"25:00", "12:61", "x", "''"}) {
            const test::ProgramRun run =
                runProgram(directory.path(), std::string("--time ") + time + " " + verb);
            EXPECT_EQ(run.status, 2) << verb << " " << time << "\n" << run.output;
            EXPECT_NE(run.output.find("--time needs a time hh:mm, not '"), std::string::npos)
                << run.output;
        }
    }
    const test::ProgramRun noValue = runProgram(directory.path(), "--time");
    EXPECT_EQ(noValue.status, 2);
    EXPECT_NE(noValue.output.find("--time needs a value"), std::string::npos) << noValue.output;
}

TEST(ProgramClockOptions, AcceptsTheDateAndTimeAsUsersTypeThem) {
    test::TempDirectory directory;
    std::ofstream(directory.path() / "prazen.script") << "idle\n";
    for (const char* clock : {"--today 31.12.2024 --time 08:30", "--today 1.2.2024 --time 8:05",
                              "--time 23:59 --today 29.02.2024"}) {
        const test::ProgramRun version =
            runProgram(directory.path(), clock + std::string(" --version"));
        EXPECT_EQ(version.status, 0) << clock << "\n" << version.output;
        EXPECT_EQ(version.output.rfind("DIDEROVIV ", 0), 0u) << version.output;
        const test::ProgramRun script =
            runProgram(directory.path(), clock + std::string(" script prazen.script"));
        EXPECT_EQ(script.status, 0) << clock << "\n" << script.output;
    }
}

}  // namespace
}  // namespace dv
