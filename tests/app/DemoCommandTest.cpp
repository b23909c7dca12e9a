#include <sstream>

#include "support/DemoTestSupport.h"

namespace dv::test {
namespace {

namespace fs = std::filesystem;

// What a refused or failed demo must leave exactly as it was.
struct Snapshot {
    std::map<std::string, std::uintmax_t> files;
    std::string settings;
    std::map<std::string, int> rows;

    static Snapshot of(const fs::path& root, const fs::path& program) {
        Snapshot snapshot{listing(root), fileBytes(program / "ZALTO.INI"), {}};
        if (fs::exists(program / "ZALTO.INI")) {
            snapshot.rows = CompanyData(program).counts();
            EXPECT_EQ(listing(root), snapshot.files) << "reading changed nothing";
        }
        return snapshot;
    }
    friend bool operator==(const Snapshot&, const Snapshot&) = default;
};

// The table lines of a successful run: "TABLE<tab>rows[<tab>remark]".
std::map<std::string, std::string> tableLines(const std::string& output) {
    std::map<std::string, std::string> lines;
    std::istringstream in(output);
    for (std::string line; std::getline(in, line);) {
        const auto tab = line.find('\t');
        if (tab != std::string::npos) lines[line.substr(0, tab)] = line.substr(tab + 1);
    }
    return lines;
}

TEST(DemoCommand, PrintsEachTableOnceAndRefusesASecondRunChangingNothing) {
    DemoFolders folders;
    const fs::path program = folders.program();
    const ProgramRun first = runDemo(program);
    ASSERT_EQ(first.status, 0) << first.output;
    const auto lines = tableLines(first.output);
    EXPECT_EQ(lines.size(), kDemoTables.size()) << first.output;
    for (const std::string_view table : kDemoTables) {
        ASSERT_TRUE(lines.count(std::string(table))) << table;
        EXPECT_GT(std::stoi(lines.at(std::string(table))), 0) << table;
    }
    EXPECT_EQ(lines.at("ARTIKLI"), "2000");

    const Snapshot before = Snapshot::of(folders.root(), program);
    EXPECT_EQ(std::to_string(before.rows.at("ZALOGA")), lines.at("ZALOGA"));
    const ProgramRun second = runDemo(program);
    EXPECT_EQ(second.status, 1);
    EXPECT_NE(second.output.find("že vsebuje podatke"), std::string::npos) << second.output;
    EXPECT_NE(second.output.find("nič ni bilo spremenjeno"), std::string::npos);
    EXPECT_TRUE(Snapshot::of(folders.root(), program) == before);

    // Without its settings the directory still holds the tables: refused all the same, and the
    // settings file that the refused run would have started is not left behind.
    fs::remove(program / "ZALTO.INI");
    const auto files = listing(folders.root());
    const ProgramRun third = runDemo(program);
    EXPECT_EQ(third.status, 1);
    EXPECT_NE(third.output.find("tabela ARTIKLI"), std::string::npos)
        << "the first table of the dictionary with rows, company tables apart: " << third.output;
    EXPECT_EQ(listing(folders.root()), files);
}

TEST(DemoCommand, ItemsOptionSetsTheCatalogueSizeAndRefusesAnythingElse) {
    DemoFolders folders;
    for (const char* bad : {"--items 0", "--items 200001", "--items 12x", "--items", "--stevilo 5"}) {
        const fs::path program = folders.program("napacna");
        const auto files = listing(folders.root());
        const ProgramRun run = runProgram(program, std::string("demo ") + bad);
        EXPECT_EQ(run.status, 2) << bad;
        EXPECT_NE(run.output.find("usage: demo [--items N]"), std::string::npos) << run.output;
        EXPECT_EQ(listing(folders.root()), files) << bad << " changed nothing";
    }
    const fs::path program = folders.program();
    const ProgramRun run = runProgram(program, "demo --items 300");
    ASSERT_EQ(run.status, 0) << run.output;
    EXPECT_EQ(tableLines(run.output).at("ARTIKLI"), "300");
    CompanyData data(program);
    EXPECT_EQ(data.forEach("ARTIKLI"), 300);
    EXPECT_TRUE(fs::is_regular_file(program / "terminal" / "INVASCII.txt"));
}

TEST(DemoCommand, AProgramSettingAloneRefusesTheDirectory) {
    DemoFolders folders;
    const fs::path program = folders.program();
    const std::string settings = "[FILE]\r\n\r\n[SERVISNE]\r\nDefaultPopis=0\r\n";
    std::ofstream(program / "ZALTO.INI", std::ios::binary) << settings;
    const auto files = listing(folders.root());
    const ProgramRun run = runDemo(program);
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.output.find("[SERVISNE] DefaultPopis"), std::string::npos) << run.output;
    EXPECT_EQ(fileBytes(program / "ZALTO.INI"), settings) << "not even the table files written";
    EXPECT_EQ(listing(folders.root()), files);
}

TEST(DemoCommand, SiblingCompanyKeepsCompanyOneOfTheParentDirectory) {
    DemoFolders folders;
    ASSERT_EQ(runDemo(folders.program("prva")).status, 0);
    const ProgramRun second = runDemo(folders.program("druga"));
    ASSERT_EQ(second.status, 0) << second.output;
    const auto lines = tableLines(second.output);
    EXPECT_NE(lines.at("APPINS").find("že obstaja"), std::string::npos) << second.output;
    EXPECT_TRUE(lines.at("APPINS").starts_with("0\t"));
    EXPECT_EQ(lines.at("ARTIKLI"), "2000");
    CompanyData data(folders.program("druga"));
    EXPECT_EQ(data.forEach("APPINS"), 1);
    EXPECT_EQ(data.forEach("APPINRA"), 1);
}

// An empty table in the program directory's database, as a first start of the program leaves.
void makeEmptyTable(const fs::path& program, std::string_view table) {
    SettingsManager settings;
    ASSERT_TRUE(resolveTableFileNames(settings, program).ok());
    {
        TableAccess access;
        FileManager& file = access.file(table);
        file.Open();
        EXPECT_EQ(file.UseFile(), kLevelBenign);
        file.Close();
    }
    resetTableFileNames();
}

TEST(DemoCommand, FailureAfterTheRowsWereWrittenLeavesNothingBehind) {
    for (const bool existingDatabase : {false, true}) {
        DemoFolders folders;
        const fs::path program = folders.program();
        if (existingDatabase) makeEmptyTable(program, "ARTIKLI");
        std::ofstream(program / "arhiv") << "a file where the archive folder belongs";
        const Snapshot before = Snapshot::of(folders.root(), program);
        const ProgramRun run = runDemo(program);
        EXPECT_EQ(run.status, 1);
        EXPECT_NE(run.output.find("arhiv"), std::string::npos) << run.output;
        EXPECT_NE(run.output.find("Imenik je ostal, kot je bil."), std::string::npos) << run.output;
        const Snapshot after = Snapshot::of(folders.root(), program);
        EXPECT_EQ(after.files, before.files) << "no database, settings or terminal folder";
        EXPECT_EQ(after.settings, before.settings);
        EXPECT_EQ(after.rows, before.rows);
        EXPECT_EQ(fs::exists(program / "dideroviv.db"), existingDatabase);
    }
}

// Runs the demo without write access to `locked`, then gives it back.
ProgramRun runWithoutWriteAccess(const fs::path& program, const fs::path& locked) {
    if (::geteuid() == 0 && locked != program) {
        // As nobody: the program directory is nobody's, the other stays the super-user's.
        EXPECT_EQ(::chown(program.c_str(), 65534, 65534), 0);
        return runDemo(program, true);
    }
    fs::permissions(locked,
                    fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    ProgramRun run = runDemo(program, true);
    fs::permissions(locked, fs::perms::owner_write, fs::perm_options::add);
    return run;
}

TEST(DemoCommand, ReadOnlyDirectoriesLeaveEverythingAsItWas) {
    for (const bool parent : {false, true}) {
        DemoFolders folders;
        const fs::path program = folders.program();
        const auto files = listing(folders.root());
        const ProgramRun run = runWithoutWriteAccess(program, parent ? folders.root() : program);
        EXPECT_EQ(run.status, 1) << run.output;
        EXPECT_NE(run.output.find(parent ? "APPINS" : "ZALTO.INI"), std::string::npos)
            << run.output;
        EXPECT_NE(run.output.find("Imenik je ostal, kot je bil."), std::string::npos);
        EXPECT_EQ(listing(folders.root()), files) << (parent ? "parent" : "program directory");
    }
}

}  // namespace
}  // namespace dv::test
