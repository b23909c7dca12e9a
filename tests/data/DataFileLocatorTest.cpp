#include <gtest/gtest.h>

#include "data/DataFileLocator.h"
#include "data/FilesTestSupport.h"
#include "data/IniFile.h"
#include "data/TableFileNames.h"
#include "data/TableFiles.h"

namespace dv {
namespace {

using test::readBytes;
using test::TempDir;
using test::writeBytes;

// The program directory of a test: a company directory inside a temporary one, so that the
// company-wide tables have a parent of their own.
struct Company {
    TempDir root;
    std::filesystem::path dir = root / "Podjetje";
    Company() { std::filesystem::create_directory(dir); }
    std::string in(const std::string& name) const { return (dir / name).string(); }
};

class TableFileNamesTest : public testing::Test {
  protected:
    void TearDown() override { resetTableFileNames(); }
};

TEST_F(TableFileNamesTest, FirstStartWritesEveryEntryWithLowerCasedBuiltInNames) {
    Company c;
    SettingsManager settings;
    ASSERT_TRUE(resolveTableFileNames(settings, c.dir).ok());

    IniFile ini;
    ASSERT_TRUE(ini.load(c.dir / "ZALTO.INI").ok());
    for (const TableFile& t : tableFiles()) {
        const auto value = ini.find("FILE", t.entry);
        ASSERT_TRUE(value) << t.entry;
        ASSERT_TRUE(value->starts_with(c.dir.string() + "/")) << *value;
        const std::string name = value->substr(c.dir.string().size() + 1);
        EXPECT_EQ(name.find_first_of("ABCDEFGHIJKLMNOPQRSTUVWXYZ\\"), std::string::npos) << name;
    }
    EXPECT_EQ(ini.find("FILE", "Glo:ARTIKLI"), c.in("artikli.tps"));
    EXPECT_EQ(ini.find("FILE", "GLO:ARTSTRO"), c.in("artstro.tps"));
    EXPECT_EQ(ini.find("FILE", "Glo:INVASCI"), c.in("invascii.txt"));
    EXPECT_EQ(ini.find("FILE", "Glo:appins"), c.in("../appins.tps"));
    // The entry names are written as the program spells them.
    EXPECT_NE(readBytes(c.dir / "ZALTO.INI").find("\nGlo:appins="), std::string::npos);

    EXPECT_EQ(tableFileName("ARTIKLI"), c.in("artikli.tps"));
    EXPECT_EQ(tableFileName("SFPARTFIN"), c.in("sfpartn.tps"));
    EXPECT_EQ(tableFileName("APPINS"), (c.root / "appins.tps").string());
    EXPECT_EQ(tableFileName("appinra"), (c.root / "appinra.tps").string());
}

TEST_F(TableFileNamesTest, EntryPointingElsewhereMovesOnlyThatTableAndKeepsItsCase) {
    Company c;
    {
        SettingsManager first;
        ASSERT_TRUE(resolveTableFileNames(first, c.dir).ok());
    }
    IniFile ini;
    ASSERT_TRUE(ini.load(c.dir / "ZALTO.INI").ok());
    const std::string moved = (c.root / "Skupni Podatki" / "ARTIKLI.TPS").string();
    ASSERT_TRUE(ini.write("FILE", "glo:artikli", moved).ok());
    ASSERT_TRUE(ini.save(c.dir / "ZALTO.INI").ok());
    const std::string before = readBytes(c.dir / "ZALTO.INI");

    resetTableFileNames();
    SettingsManager settings;
    ASSERT_TRUE(resolveTableFileNames(settings, c.dir).ok());
    EXPECT_EQ(tableFileName("ARTIKLI"), moved);
    EXPECT_EQ(tableFileName("ZALOGA"), c.in("zaloga.tps"));
    EXPECT_EQ(tableFileName("APPINS"), (c.root / "appins.tps").string());
    EXPECT_EQ(readBytes(c.dir / "ZALTO.INI"), before);  // nothing to write back
}

TEST(DataFileLocator, StoredValuesAreReadTheHostsWay) {
    Company c;
    std::filesystem::create_directories(c.root / "Skupno" / "Podatki");
    writeBytes(c.dir / "ZALTO.INI",
               "[FILE]\r\n"
               "Glo:ARTIKLI=..\\Skupno\\Podatki\\ARTIKLI.TPS\r\n"
               "Glo:DOKUMENT=" +
                   c.in("Arhiv\\dokument.tps\\!geslo") +
                   "\r\n"
                   "Glo:ZALOGA=Zaloge/ZALOGA.tps\r\n"
                   "Glo:INVENDET=" +
                   c.in("./x/../INVENDET.TPS") + "\r\nGlo:SFEM=\\!geslo\r\n");
    SettingsManager settings;
    ASSERT_TRUE(settings.open(c.dir).ok());
    DataFileLocator locator(settings, c.dir);
    locator.setMissingFileMode(MissingFileMode::Accept);
    const auto resolve = [&](std::string_view entry) {
        return locator.resolve("FILE", entry, "UNUSED.TPS").path;
    };
    EXPECT_EQ(resolve("Glo:ARTIKLI"), (c.root / "Skupno/Podatki/ARTIKLI.TPS").string());
    EXPECT_EQ(resolve("Glo:DOKUMENT"), c.in("Arhiv/dokument.tps"));
    EXPECT_EQ(resolve("Glo:ZALOGA"), c.in("Zaloge/ZALOGA.tps"));  // relative: program directory
    EXPECT_EQ(resolve("Glo:INVENDET"), c.in("INVENDET.TPS"));
    // A value that names no file is treated as empty: filled in and written back.
    EXPECT_EQ(locator.resolve("FILE", "Glo:SFEM", "SFEM.TPS").path, c.in("sfem.tps"));
    EXPECT_EQ(settings.readText("FILE", "Glo:SFEM", ""), c.in("sfem.tps"));
    EXPECT_FALSE(settings.hasHeldWrites());
}

TEST(DataFileLocator, MissingFileModeDecidesWhetherAMissingFileIsAnError) {
    Company c;
    writeBytes(c.dir / "present.tps", "");
    SettingsManager settings;
    ASSERT_TRUE(settings.open(c.dir).ok());
    DataFileLocator locator(settings, c.dir);

    locator.setMissingFileMode(MissingFileMode::Refuse);
    EXPECT_TRUE(locator.resolve("FILE", "a", "PRESENT.TPS").ok());
    const LocatedFile absent = locator.resolve("FILE", "b", "ABSENT.TPS");
    EXPECT_FALSE(absent.ok());
    EXPECT_EQ(absent.path, c.in("absent.tps"));
    EXPECT_NE(absent.error.find(absent.path), std::string::npos);

    locator.setMissingFileMode(MissingFileMode::Accept);
    EXPECT_TRUE(locator.resolve("FILE", "c", "ABSENT.TPS").ok());
}

TEST_F(TableFileNamesTest, SettingsFileThatCannotBeWrittenIsReportedButNamesAreSet) {
    TempDir root;
    const auto dir = root / "gone";  // a program directory that vanished
    SettingsManager settings;
    const FileResult result = resolveTableFileNames(settings, dir);
    EXPECT_FALSE(result.ok());
    EXPECT_NE(result.error.find((dir / "ZALTO.INI").string()), std::string::npos) << result.error;
    EXPECT_EQ(tableFileName("ZALOGA"), (dir / "zaloga.tps").string());
}

TEST_F(TableFileNamesTest, NamesStartAsBuiltInAndCanBeChanged) {
    EXPECT_EQ(tableFileName("SFPARTFIN"), "SFPARTN.TPS");
    EXPECT_EQ(tableFileName("appins"), "..\\APPINS.TPS");
    setTableFileName("SFPARTFIN", "SFPARFIN.TPS");
    EXPECT_EQ(tableFileName("SFPARTFIN"), "SFPARFIN.TPS");
    EXPECT_EQ(tableFileName("SFPARTN"), "SFPARTN.TPS");
    EXPECT_THROW(tableFileName("NOSUCH"), std::invalid_argument);
    resetTableFileNames();
    EXPECT_EQ(tableFileName("SFPARTFIN"), "SFPARTN.TPS");
}

}  // namespace
}  // namespace dv
