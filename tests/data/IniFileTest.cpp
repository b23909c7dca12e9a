#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>

#include <limits>

#include "data/FilesTestSupport.h"
#include "data/IniFile.h"

namespace dv {
namespace {

using test::readBytes;
using test::TempDir;
using test::writeBytes;

TEST(IniFile, UntouchedFileIsWrittenBackByteForByte) {
    const std::string text =
        "; settings of the suite\n"
        "orphan=before any section\n"
        "\n"
        "[TUJE]\n"
        "  Key = spaced value  \n"
        "Naked line without equals\n"
        "[FILE]\n"
        "Glo:ARTIKLI=C:\\Zalto\\ARTIKLI.TPS\n"
        "last=no line end";
    EXPECT_EQ(IniFile::fromBytes(text).toBytes(), text);
}

TEST(IniFile, WritesChangeOnlyTheirLinesAndKeepEverythingElseInOrder) {
    IniFile ini = IniFile::fromBytes(
        "; comment\n"
        "[TUJE]\n"
        "A = 1\n"
        "; inner comment\n"
        "\n"
        "[SERVISNE]\n"
        "DefaultPopis=1\n"
        "; trailing comment of SERVISNE\n"
        "\n"
        "[ZADNJA]\n"
        "x=y");
    ASSERT_TRUE(ini.write("TUJE", "a", "2").ok());
    ASSERT_TRUE(ini.write("SERVISNE", "Pot arhiva ASCII", "/arhiv").ok());
    ASSERT_TRUE(ini.write("ZADNJA", "z", "w").ok());
    ASSERT_TRUE(ini.write("NOVA", "k", "v").ok());
    EXPECT_EQ(ini.toBytes(),
              "; comment\n"
              "[TUJE]\n"
              "A =2\n"
              "; inner comment\n"
              "\n"
              "[SERVISNE]\n"
              "DefaultPopis=1\n"
              "Pot arhiva ASCII=/arhiv\n"
              "; trailing comment of SERVISNE\n"
              "\n"
              "[ZADNJA]\n"
              "x=y\n"
              "z=w\n"
              "\n"
              "[NOVA]\n"
              "k=v\n");
    EXPECT_EQ(ini.readText("TUJE", "A", "-"), "2");
    EXPECT_TRUE(ini.remove("zadnja", "X"));
    EXPECT_FALSE(ini.remove("zadnja", "X"));
    EXPECT_EQ(ini.readText("ZADNJA", "x", "gone"), "gone");
    EXPECT_EQ(ini.readText("ZADNJA", "z", ""), "w");
}

TEST(IniFile, CodePage1250FileIsReadAndWrittenInItsOwnCodePage) {
    const std::string cp1250 =
        "[SPLO\x8ANO]\r\n"
        "SifraLastnikaPrograma=1204\r\n"
        "[SERVISNE]\r\n"
        "Skladi\x9A\xE8"
        "e ZN=3\r\n"
        "Opomba=\x8A"
        "ifra \x80\r\n";
    IniFile ini = IniFile::fromBytes(cp1250);
    EXPECT_EQ(ini.encoding(), IniEncoding::Cp1250);
    EXPECT_EQ(ini.lineEnd(), "\r\n");
    EXPECT_EQ(ini.readNumber("SPLOŠNO", "SifraLastnikaPrograma", 0), 1204);
    EXPECT_EQ(ini.readNumber("SERVISNE", "Skladišče ZN", 1), 3);
    EXPECT_EQ(ini.readText("SERVISNE", "Opomba", ""), "Šifra €");

    ASSERT_TRUE(ini.write("SERVISNE", "Skladišče ZN", "5").ok());
    ASSERT_TRUE(ini.write("SPLOŠNO", "KrajIzdajeDokumenta", "Črnomelj").ok());
    // A character code page 1250 cannot hold is refused rather than stored as "?".
    const FileResult refused = ini.write("SERVISNE", "Opomba", "東京");
    EXPECT_FALSE(refused.ok());
    EXPECT_NE(refused.error.find("Opomba"), std::string::npos);
    EXPECT_EQ(ini.toBytes(),
              "[SPLO\x8ANO]\r\n"
              "SifraLastnikaPrograma=1204\r\n"
              "KrajIzdajeDokumenta=\xC8rnomelj\r\n"
              "[SERVISNE]\r\n"
              "Skladi\x9A\xE8"
              "e ZN=5\r\n"
              "Opomba=\x8A"
              "ifra \x80\r\n");
}

TEST(IniFile, Utf8FileKeepsItsByteOrderMarkAndEncoding) {
    const std::string bom = "\xEF\xBB\xBF";
    IniFile ini = IniFile::fromBytes(bom + "[SPLOŠNO]\nKraj=Škofja Loka\n");
    EXPECT_EQ(ini.encoding(), IniEncoding::Utf8WithBom);
    EXPECT_EQ(ini.readText("splošno", "kraj", ""), "Škofja Loka");
    ASSERT_TRUE(ini.write("SERVISNE", "Skladišče ZN", "東京").ok());  // UTF-8 holds anything
    EXPECT_EQ(ini.toBytes(),
              bom + "[SPLOŠNO]\nKraj=Škofja Loka\n\n[SERVISNE]\nSkladišče ZN=東京\n");

    IniFile plain = IniFile::fromBytes("[A]\r\nb=č\r\n");
    EXPECT_EQ(plain.encoding(), IniEncoding::Utf8);
    EXPECT_EQ(plain.readText("A", "b", ""), "č");
}

TEST(IniFile, NamesCompareWithoutCaseAndRepeatedSectionsAreSearchedWhole) {
    IniFile ini = IniFile::fromBytes(
        "[ Splošno ]\n  sifraLASTNIKA  = 77\n[T]\n[SPLOŠNO]\nc=3\nsifralastnika=9\n");
    EXPECT_EQ(ini.readNumber("splošno", "SifraLastnika", 0), 77);  // the first occurrence counts
    EXPECT_EQ(ini.readText("SPLOŠNO", "C", ""), "3");
    EXPECT_EQ(ini.readText("T", "c", "none"), "none");
    // Writing under another spelling changes the existing line and keeps its spelling; a new
    // entry goes to the first occurrence of its section.
    ASSERT_TRUE(ini.write("SPLOŠNO", "SIFRALASTNIKA", "78").ok());
    ASSERT_TRUE(ini.write("splošno", "d", "4").ok());
    EXPECT_EQ(ini.toBytes(),
              "[ Splošno ]\n  sifraLASTNIKA  =78\nd=4\n[T]\n[SPLOŠNO]\nc=3\nsifralastnika=9\n");
}

TEST(IniFile, ValuesReadBackAsWrittenAndMalformedWritesChangeNothing) {
    IniFile ini = IniFile::fromBytes("[A]\nquoted=\"  padded  \"\nsingle='x'\nempty=\n");
    EXPECT_EQ(ini.readText("A", "quoted", ""), "  padded  ");
    EXPECT_EQ(ini.readText("A", "single", ""), "x");
    EXPECT_EQ(ini.readText("A", "empty", "default"), "");  // present but empty is not missing
    EXPECT_EQ(ini.readText("A", "missing", "default"), "default");
    for (const std::string value : {" lead", "trail ", "\"q\"", "'q'", "a=b", "x \"y\" z", ""}) {
        ASSERT_TRUE(ini.write("B", "v", value).ok());
        EXPECT_EQ(IniFile::fromBytes(ini.toBytes()).readText("B", "v", "-"), value) << value;
    }

    const std::string before = ini.toBytes();
    // A line break in a value would smuggle further entries or sections into the file.
    EXPECT_FALSE(ini.write("FILE", "Glo:ZALOGA", "/x\n[FILE]\nGlo:ARTIKLI=/evil").ok());
    EXPECT_FALSE(ini.write("FILE", "Glo:ZALOGA", "/x\r/y").ok());
    for (const char* name : {"a=b", "", ";comment", "[x"})
        EXPECT_FALSE(ini.write("A", name, "v").ok());
    EXPECT_FALSE(ini.write("A]B", "k", "v").ok());
    EXPECT_FALSE(ini.write(" ", "k", "v").ok());
    EXPECT_EQ(ini.toBytes(), before);
}

TEST(IniFile, NumbersReadAsTheSettingsRulesSay) {
    struct Case {
        const char* text;
        std::optional<std::int64_t> number;
    };
    const Case cases[] = {
        {"12", 12},
        {" -7 ", -7},
        {"+3", 3},
        {"0018", 18},
        {"12.9", 12},
        {"-12.9", -12},
        {".5", 0},
        {"9223372036854775807", std::numeric_limits<std::int64_t>::max()},
        {"-9223372036854775808", std::numeric_limits<std::int64_t>::min()},
        {"9223372036854775808", std::nullopt},
        {"12abc", std::nullopt},
        {"1 000", std::nullopt},
        {"12,5", std::nullopt},
        {"", std::nullopt},
        {".", std::nullopt},
        {"-", std::nullopt},
        {"1e3", std::nullopt},
    };
    for (const Case& c : cases) EXPECT_EQ(parseIniNumber(c.text), c.number) << c.text;

    const IniFile ini = IniFile::fromBytes("[T]\nword=abc\nempty=\nquoted=\"13\"\n");
    EXPECT_EQ(ini.readNumber("T", "missing", 13), 13);
    EXPECT_EQ(ini.readNumber("T", "word", 13), 0);
    EXPECT_EQ(ini.readNumber("T", "empty", 13), 0);
    EXPECT_EQ(ini.readNumber("T", "quoted", 0), 13);
}

TEST(IniFile, MissingFileIsEmptyButAnUnreadableOneIsAnError) {
    TempDir dir;
    IniFile ini;
    ASSERT_TRUE(ini.load(dir / "ZALTO.INI").ok());
    EXPECT_EQ(ini.readText("FILE", "Glo:ARTIKLI", "none"), "none");
    ASSERT_TRUE(ini.write("SERVISNE", "Skladišče ZN", "1").ok());
    ASSERT_TRUE(ini.save(dir / "ZALTO.INI").ok());
    EXPECT_EQ(readBytes(dir / "ZALTO.INI"), "[SERVISNE]\nSkladišče ZN=1\n");  // UTF-8, LF
    EXPECT_EQ(test::entriesIn(dir.path()), 1u);  // no temporary file left behind

    std::filesystem::create_directory(dir / "dir.ini");
    const FileResult result = ini.load(dir / "dir.ini");
    EXPECT_FALSE(result.ok());
    EXPECT_NE(result.error.find("dir.ini"), std::string::npos);
    EXPECT_EQ(ini.readText("SERVISNE", "Skladišče ZN", ""), "1");  // unchanged
}

TEST(IniFile, SaveKeepsPermissionsAndReplacesTheTargetOfALink) {
    TempDir dir;
    writeBytes(dir / "real.ini", "[A]\nb=1\n");
    std::filesystem::permissions(dir / "real.ini", std::filesystem::perms(0640));
    std::filesystem::create_symlink("real.ini", dir / "ZALTO.INI");
    IniFile ini;
    ASSERT_TRUE(ini.load(dir / "ZALTO.INI").ok());
    ASSERT_TRUE(ini.write("A", "b", "2").ok());
    ASSERT_TRUE(ini.save(dir / "ZALTO.INI").ok());
    EXPECT_TRUE(std::filesystem::is_symlink(dir / "ZALTO.INI"));
    EXPECT_EQ(readBytes(dir / "real.ini"), "[A]\nb=2\n");
    EXPECT_EQ(std::filesystem::status(dir / "real.ini").permissions(),
              std::filesystem::perms(0640));
}

TEST(IniFile, WriteIntoReadOnlyDirectoryFailsAndLeavesTheOldFile) {
    TempDir dir, scratch;
    const std::string old = "[FILE]\nGlo:ARTIKLI=/old/artikli.tps\n";
    writeBytes(dir / "ZALTO.INI", old);
    test::makeReadOnlyDirectory(dir.path());
    const auto child = test::runChild(scratch.path(), true, [&] {
        IniFile ini;
        if (!ini.load(dir / "ZALTO.INI").ok()) return 2;
        if (!ini.write("FILE", "Glo:ARTIKLI", "/new/artikli.tps").ok()) return 3;
        const FileResult saved = ini.save(dir / "ZALTO.INI");
        if (saved.ok()) return 4;
        std::fputs(saved.error.c_str(), stderr);
        return 0;
    });
    EXPECT_EQ(child.exitCode, 0);
    EXPECT_NE(child.err.find((dir / "ZALTO.INI").string()), std::string::npos) << child.err;
    EXPECT_EQ(readBytes(dir / "ZALTO.INI"), old);
    EXPECT_EQ(test::entriesIn(dir.path()), 1u);
}

TEST(IniFile, WriteOnAFullDiskFailsAndLeavesTheOldFile) {
    TempDir dir, scratch;
    const std::string old = "[A]\nb=1\n";
    writeBytes(dir / "ZALTO.INI", old);
    // A file size limit makes writes fail the way a full disk does, for every user.
    const auto child = test::runChild(scratch.path(), false, [&] {
        ::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{16, 16};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        IniFile ini;
        if (!ini.load(dir / "ZALTO.INI").ok()) return 2;
        if (!ini.write("A", "b", std::string(100, 'x')).ok()) return 3;
        // The limit binds the child's own output too, so the message is checked here.
        const FileResult saved = ini.save(dir / "ZALTO.INI");
        if (saved.ok()) return 4;
        return saved.error.find("ZALTO.INI") != std::string::npos ? 0 : 5;
    });
    EXPECT_EQ(child.exitCode, 0);
    EXPECT_EQ(readBytes(dir / "ZALTO.INI"), old);
    EXPECT_EQ(test::entriesIn(dir.path()), 1u);
}

}  // namespace
}  // namespace dv
