#include <gtest/gtest.h>
#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <fstream>

#include "TempDirectory.h"

namespace dv {
namespace {

// Runs `script` in `directory` with the test build of the program, which has the test suite's
// procedures, or with `withTestProcedures` off with the program itself; the exit status and
// everything it printed.
std::pair<int, std::string> runScript(const std::filesystem::path& directory,
                                      const std::string& script, bool withTestProcedures = true) {
    std::ofstream(directory / "form.script") << script;
    const std::string command = std::string("cd '") + directory.string() + "' && '" +
                                (withTestProcedures ? DV_TEST_EXECUTABLE : DV_EXECUTABLE) +
                                "' --dir '" + directory.string() +
                                "' --today 15.03.2024 script form.script 2>&1";
    std::string output;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) return {-1, "popen failed"};
    std::array<char, 4096> buffer;
    while (std::size_t n = std::fread(buffer.data(), 1, buffer.size(), pipe))
        output.append(buffer.data(), n);
    const int status = pclose(pipe);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, output};
}

constexpr const char* kInsertScript =
    R"(# a new unit: the required name, Cancel on a changed record, the calendar
start TestInsertUnit
window "Dodajanje zapisa"
expect ?SFENOTE:Enota text "1"
press ?OK
message " INFORMACIJA" "\"Naziv\" podatek mora biti vnešen !"
answer OK
expect ?SFENOTE:Naziv focused
type ?SFENOTE:Naziv "Center"
close
message "Save Record" "Do you want to save the changes to this record?"
answer Cancel
window "Dodajanje zapisa"
expect ?SFENOTE:Enota focused
focus ?SFENOTE:PROMETZAKLJUCENDODATUMA
date cancel
key F6
expect ?SFENOTE:PROMETZAKLJUCENDODATUMA text ""
date "31.01.2024"
key F6
key Enter
expect ?SFENOTE:DATUMDOVOLJENEMESOBDELAVE focused
press ?OK
idle
sql "SELECT ENOTA, NAZIV, TIP, PROMETZAKLJUCENDODATUMA > 0 FROM SFENOTE" "1|Center|M|1"
)";

constexpr const char* kChangeViewDeleteScript = R"(# change, view and delete unit 1
start TestChangeUnit
window "Spreminjanje zapisa"
expect ?SFENOTE:Naziv text "Center"
type ?SFENOTE:Naziv "Centrala"
press ?OK
idle
sql "SELECT NAZIV FROM SFENOTE WHERE ENOTA = 1" "Centrala"
start TestViewUnit
window "Vpogled podatkov"
type ?SFENOTE:Naziv "Drugo"
press ?OK
idle
start TestDeleteUnit
message "Confirm Delete" "Are you sure you want to delete the highlighted record?"
answer Yes
idle
sql "SELECT COUNT(*) FROM SFENOTE" "0"
)";

TEST(FormScript, AFormIsDrivenThroughTheProgramsCommandLine) {
    test::TempDirectory directory;
    auto [status, output] = runScript(directory.path(), kInsertScript);
    EXPECT_EQ(status, 0) << output;
    EXPECT_EQ(output, "");
    std::tie(status, output) = runScript(directory.path(), kChangeViewDeleteScript);
    EXPECT_EQ(status, 0) << output;
    EXPECT_EQ(output, "");
}

TEST(FormScript, AFormThatDoesNotBehaveFailsTheScriptWithWhatWasSeen) {
    test::TempDirectory directory;
    const auto [status, output] = runScript(directory.path(), R"(start TestInsertUnit
press ?OK
idle
)");
    EXPECT_EQ(status, 1);
    EXPECT_NE(output.find("line 3: idle"), std::string::npos) << output;
    EXPECT_NE(output.find("podatek mora biti vnešen"), std::string::npos) << output;
}

// The program itself knows none of them, whatever its environment says.
TEST(FormScript, TheProgramItselfHasNoTestProcedures) {
    test::TempDirectory directory;
    setenv("DV_TEST_PROCEDURES", "1", 1);
    const auto [status, output] = runScript(directory.path(), R"(start TestInsertUnit
message "Procedure not defined" "The Procedure TestInsertUnit has not been defined."
answer OK
idle
)",
                                            false);
    unsetenv("DV_TEST_PROCEDURES");
    EXPECT_EQ(status, 0) << output;
}

}  // namespace
}  // namespace dv
