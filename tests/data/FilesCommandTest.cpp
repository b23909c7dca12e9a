#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <sstream>
#include <vector>

#include "data/FilesTestSupport.h"
#include "data/IniFile.h"
#include "data/TableFiles.h"

namespace dv {
namespace {

using test::readBytes;
using test::TempDir;

test::ChildResult runFiles(const std::filesystem::path& dir, const TempDir& scratch,
                           bool unprivileged = false) {
    return test::runChild(scratch.path(), unprivileged, [&] {
        const std::string d = dir.string();
        ::execl(DV_EXECUTABLE, DV_EXECUTABLE, "--dir", d.c_str(), "files", nullptr);
        return 127;
    });
}

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

TEST(FilesCommand, FirstStartPrintsEveryTableAndWritesEveryFileEntry) {
    TempDir dir, scratch;
    const auto result = runFiles(dir.path(), scratch);
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.err, "");

    const auto lines = linesOf(result.out);
    ASSERT_EQ(lines.size(), 42u);
    ASSERT_EQ(tableFiles().size(), 42u);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const TableFile& t = tableFiles()[i];
        const auto tab = lines[i].find('\t');
        ASSERT_NE(tab, std::string::npos) << lines[i];
        EXPECT_EQ(lines[i].substr(0, tab), t.table);
        const std::filesystem::path file = lines[i].substr(tab + 1);
        EXPECT_TRUE(file.is_absolute()) << lines[i];
        const bool companyWide = t.builtInName.starts_with("..");
        EXPECT_EQ(file.parent_path(), companyWide ? dir.path().parent_path() : dir.path())
            << lines[i];
    }

    IniFile ini;
    ASSERT_TRUE(ini.load(dir / "ZALTO.INI").ok());
    const std::string bytes = readBytes(dir / "ZALTO.INI");
    EXPECT_EQ(std::count(bytes.begin(), bytes.end(), '='), 42);
    for (const TableFile& t : tableFiles()) EXPECT_TRUE(ini.find("FILE", t.entry)) << t.entry;

    // A second start finds every entry and prints the same.
    const auto again = runFiles(dir.path(), scratch);
    EXPECT_EQ(again.exitCode, 0);
    EXPECT_EQ(again.out, result.out);
    EXPECT_EQ(readBytes(dir / "ZALTO.INI"), bytes);
}

TEST(FilesCommand, SettingsFileThatCannotBeWrittenEndsWithAMessage) {
    TempDir dir, scratch;
    test::makeReadOnlyDirectory(dir.path());
    const auto result = runFiles(dir.path(), scratch, true);
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.out, "");
    EXPECT_NE(result.err.find((dir / "ZALTO.INI").string()), std::string::npos) << result.err;
    EXPECT_EQ(test::entriesIn(dir.path()), 0u);
}

TEST(FilesCommand, MissingProgramDirectoryEndsWithAMessage) {
    TempDir scratch;
    const auto result = runFiles(scratch / "no such directory", scratch);
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_NE(result.err.find("no such directory"), std::string::npos) << result.err;
}

}  // namespace
}  // namespace dv
