#include "runtime/ExternalProgram.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <fstream>
#include <sstream>
#include <thread>

#include "frontend/TempDirectory.h"

namespace dv {
namespace {

using Words = std::vector<std::string>;

TEST(ExternalProgram, SplitsACommandLineIntoWordsHonouringDoubleQuotes) {
    EXPECT_EQ(splitCommandLine("DAVCNABLAGAJNACONSOLE.EXE -echo"),
              (Words{"DAVCNABLAGAJNACONSOLE.EXE", "-echo"}));
    EXPECT_EQ(splitCommandLine("  \"/opt/Moj program/kopije\"\t-a  \"b c\"d "),
              (Words{"/opt/Moj program/kopije", "-a", "b cd"}));
    EXPECT_EQ(splitCommandLine("prog \"\" x"), (Words{"prog", "", "x"}));
    EXPECT_EQ(splitCommandLine("prog \"to the end"), (Words{"prog", "to the end"}));
    EXPECT_TRUE(splitCommandLine("   ").empty());
    // No shell: its characters are plain text.
    EXPECT_EQ(splitCommandLine("prog >out $HOME;x"), (Words{"prog", ">out", "$HOME;x"}));
}

// Waits (generously) for a file the started program writes; its text, or nothing.
std::optional<std::string> awaitFile(const std::filesystem::path& file) {
    for (int i = 0; i < 2000; ++i) {
        std::ifstream in(file);
        std::stringstream text;
        if (in && (text << in.rdbuf()) && text.str().find('\n') != std::string::npos)
            return text.str();
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return std::nullopt;
}

class ExternalProgramStart : public ::testing::Test {
  protected:
    void writeScript(const std::string& name, const std::string& body, bool executable = true) {
        const auto path = directory.path() / name;
        std::ofstream(path) << "#!/bin/sh\n" << body;
        ::chmod(path.c_str(), executable ? 0755 : 0644);
    }
    test::TempDirectory directory;
};

TEST_F(ExternalProgramStart, FindsAProgramInTheWorkingDirectoryAndPassesItsWords) {
    writeScript("Kopije.sh", "printf '%s|%s\\n' \"$1\" \"$2\" > \"$3\"\n");
    const auto marker = directory.path() / "marker.txt";
    const ProgramStart started = startExternalProgram(
        "Kopije.sh \"prvi del\" drugi \"" + marker.string() + "\"", directory.path());
    ASSERT_TRUE(started.ok()) << started.error;
    EXPECT_EQ(awaitFile(marker), "prvi del|drugi\n");
}

TEST_F(ExternalProgramStart, SearchesThePathForABareNameNotInTheWorkingDirectory) {
    const auto marker = directory.path() / "path.txt";
    const ProgramStart started =
        startExternalProgram("sh -c \"echo iz-poti > '" + marker.string() + "'\"", directory.path());
    ASSERT_TRUE(started.ok()) << started.error;
    EXPECT_EQ(awaitFile(marker), "iz-poti\n");
}

TEST_F(ExternalProgramStart, SaysClearlyWhyAProgramCannotBeStarted) {
    ProgramStart started = startExternalProgram("BackUp.EXE", directory.path());
    EXPECT_EQ(started.error, "Programa \"BackUp.EXE\" ni mogoče najti.");

    started = startExternalProgram("podmapa/BackUp.EXE -x", directory.path());
    EXPECT_EQ(started.error, "Programa \"podmapa/BackUp.EXE\" ni mogoče najti.");

    writeScript("neizvedljiv.sh", "exit 0\n", false);
    started = startExternalProgram("./neizvedljiv.sh", directory.path());
    EXPECT_FALSE(started.ok());
    EXPECT_NE(started.error.find("Programa \"./neizvedljiv.sh\" ni mogoče zagnati: "),
              std::string::npos)
        << started.error;

    started = startExternalProgram("  \"\" -echo", directory.path());
    EXPECT_FALSE(started.ok());
    EXPECT_NE(started.error.find("prazna"), std::string::npos) << started.error;
}

}  // namespace
}  // namespace dv
