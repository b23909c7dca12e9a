#include <gtest/gtest.h>

#include "data/FilesTestSupport.h"
#include "data/SettingsManager.h"

namespace dv {
namespace {

using test::readBytes;
using test::TempDir;
using test::writeBytes;

TEST(SettingsManager, MissingFileGivesDefaultsAndTheFirstWriteCreatesIt) {
    TempDir dir;
    SettingsManager settings;
    ASSERT_TRUE(settings.open(dir.path()).ok());
    EXPECT_EQ(settings.path(), dir / "ZALTO.INI");
    EXPECT_EQ(settings.readNumber("TERMINAL", "Dolzina EAN", 13), 13);
    EXPECT_EQ(settings.readText("SERVISNE", "Vrsta prodaje ZN", "V"), "V");
    EXPECT_FALSE(std::filesystem::exists(dir / "ZALTO.INI"));

    ASSERT_TRUE(settings.writeNumber("SPLOŠNO", "SifraLastnikaPrograma", 4711).ok());
    EXPECT_EQ(readBytes(dir / "ZALTO.INI"), "[SPLOŠNO]\nSifraLastnikaPrograma=4711\n");
    EXPECT_EQ(settings.readNumber("splošno", "sifralastnikaprograma", 0), 4711);
}

TEST(SettingsManager, WriteKeepsWhatAnotherProgramWroteMeanwhile) {
    TempDir dir;
    writeBytes(dir / "ZALTO.INI", "[SPLO\x8ANO]\r\nOsnovnoSkladisce=1\r\n");
    SettingsManager settings;
    ASSERT_TRUE(settings.open(dir.path()).ok());
    // Another program of the suite changes the file while this one runs.
    writeBytes(dir / "ZALTO.INI", "[SPLO\x8ANO]\r\nOsnovnoSkladisce=2\r\nEnoSkladisce=D\r\n");
    ASSERT_TRUE(settings.write("SERVISNE", "Skladišče ZN", "3").ok());
    EXPECT_EQ(readBytes(dir / "ZALTO.INI"),
              "[SPLO\x8ANO]\r\nOsnovnoSkladisce=2\r\nEnoSkladisce=D\r\n\r\n"
              "[SERVISNE]\r\nSkladi\x9A\xE8"
              "e ZN=3\r\n");
    EXPECT_EQ(settings.readText("SPLOŠNO", "EnoSkladisce", ""), "D");
}

TEST(SettingsManager, WriteThatCannotReachTheDiskIsHeldAndFlushedLater) {
    TempDir dir;
    const auto missing = dir / "not yet";
    SettingsManager settings;
    ASSERT_TRUE(settings.open(missing).ok());
    const FileResult failed = settings.write("SERVISNE", "DefaultPopis", "0");
    EXPECT_FALSE(failed.ok());
    EXPECT_NE(failed.error.find("not yet"), std::string::npos);
    EXPECT_TRUE(settings.hasHeldWrites());
    EXPECT_EQ(settings.readNumber("SERVISNE", "DefaultPopis", 1), 0);  // the program holds it

    std::filesystem::create_directory(missing);
    ASSERT_TRUE(settings.flush().ok());
    EXPECT_FALSE(settings.hasHeldWrites());
    EXPECT_EQ(readBytes(missing / "ZALTO.INI"), "[SERVISNE]\nDefaultPopis=0\n");
}

TEST(SettingsManager, HeldWritesGoToDiskTogetherAtFlushOrAtTheEnd) {
    TempDir dir;
    {
        SettingsManager settings;
        ASSERT_TRUE(settings.open(dir.path()).ok());
        settings.holdWrites();
        ASSERT_TRUE(settings.write("A", "x", "1").ok());
        ASSERT_TRUE(settings.write("A", "y", "2").ok());
        EXPECT_FALSE(std::filesystem::exists(dir / "ZALTO.INI"));
        ASSERT_TRUE(settings.flush().ok());
        EXPECT_EQ(readBytes(dir / "ZALTO.INI"), "[A]\nx=1\ny=2\n");

        // After the flush writes go out at once again.
        ASSERT_TRUE(settings.write("A", "x", "3").ok());
        EXPECT_EQ(readBytes(dir / "ZALTO.INI"), "[A]\nx=3\ny=2\n");

        settings.holdWrites();
        ASSERT_TRUE(settings.write("B", "z", "4").ok());
    }  // shutdown writes back what is held
    EXPECT_EQ(readBytes(dir / "ZALTO.INI"), "[A]\nx=3\ny=2\n\n[B]\nz=4\n");
}

TEST(SettingsManager, ExistingFileNamedInOtherLetterCaseIsUsed) {
    TempDir dir;
    writeBytes(dir / "zalto.ini", "[TERMINAL]\nDolzina EAN=8\n");
    SettingsManager settings;
    ASSERT_TRUE(settings.open(dir.path()).ok());
    EXPECT_EQ(settings.path(), dir / "zalto.ini");
    EXPECT_EQ(settings.readNumber("TERMINAL", "Dolzina EAN", 13), 8);
    ASSERT_TRUE(settings.writeNumber("TERMINAL", "Dolzina EAN", 12).ok());
    EXPECT_EQ(readBytes(dir / "zalto.ini"), "[TERMINAL]\nDolzina EAN=12\n");
    EXPECT_FALSE(std::filesystem::exists(dir / "ZALTO.INI"));
}

}  // namespace
}  // namespace dv
