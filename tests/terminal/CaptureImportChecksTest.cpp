#include <gtest/gtest.h>
#include <unistd.h>

#include "CaptureImportFixture.h"

namespace dv {
namespace {

// What the import checks before anything is written, and where the archive copy goes.
class CaptureImportChecks : public test::CaptureImportFixture {
  protected:
    CaptureImportChecks() {
        addItem("3830001234567", "Kruh");
        addLine(7, "3830001234567", "4", "0", 0);
    }

    void expectNothingImported(const std::string& file) {
        EXPECT_EQ(readFile(capture), file);
        EXPECT_TRUE(archived().empty());
        EXPECT_EQ(sql("SELECT COUNT(*) FROM INVTPS"), "0");
        EXPECT_EQ(sql("SELECT POPISANAZALOGA, NAREJENVNOS FROM INVENDET"), "0|0");
    }

    static std::string warning(const std::string& text) {
        return "start KnjizenjeINVASCI\nmessage \" OPOZORILO\" \"" + text + "\"\nanswer OK\n";
    }
};

// Lines to post whose quantity is no number are listed with their line numbers (empty lines
// counted) and text before anything is written. No: nothing is imported. Yes: the rest is, and
// the archive copy keeps every line.
TEST_F(CaptureImportChecks, LinesWithoutANumberAreShownAndTheUserChooses) {
    const std::string file =
        "EAN;KOLICINA\r\n3830001234567;2\r\n\r\n\"3830001234567\";\"12x\"\r\n3830001234567;\r\n"
        "3830001234567;1,5\r\n3830001234567;1000000\r\nNAPIS;ni število\r\n";
    writeFile(capture, file);
    const std::string question =
        "start KnjizenjeINVASCI\nmessage \" OPOZORILO\" \" V datoteki zajema 3 vrstice nimajo "
        "količine, ki bi bila število:|| vrstica 4: \\\"3830001234567\\\";\\\"12x\\\"| vrstica 5: "
        "3830001234567;| vrstica 7: 3830001234567;1000000|| Ali želite uvoziti ostale vrstice ?| "
        "Da: te vrstice se ne uvozijo, ostanejo pa v arhivski kopiji.| Ne: nič se ne uvozi; "
        "datoteko najprej popravite.\"\n";
    run(question + "answer No\n");
    expectNothingImported(file);
    run(question + "answer Yes\n");
    EXPECT_EQ(sql("SELECT POPISANAZALOGA, NAREJENVNOS FROM INVENDET"), "3500|1");
    EXPECT_EQ(sql("SELECT KOLICINA, USPESNOKNJIZENJE FROM INVTPS ORDER BY ZAPIS"), "200|1\n150|2");
    EXPECT_FALSE(std::filesystem::exists(capture));
    EXPECT_EQ(readFile(archive / kArchive), file);
}

TEST_F(CaptureImportChecks, AMissingClosedOrUnknownStocktakeOrCaptureFileImportsNothing) {
    run(warning(" Datoteke zajema s terminala ni:| " + capture.string() + "|| Ni česa uvoziti."));
    EXPECT_FALSE(std::filesystem::exists(capture)) << "the import makes no capture file";
    const std::string file = "3830001234567;2\n";
    writeFile(capture, file);
    select(9, 1, "M");
    run(warning(" Inventure št. 9 v skladišču 1 za vrsto prodaje \\\"M\\\" ni.|| Izberite "
                "inventuro s seznama; zajem ni bil uvožen."));
    expectNothingImported(file);
    addStocktake(9, 1, "M", kToday);
    run(warning(" Inventura je že zaključena.| Uvoz zajema s terminala ni več mogoč!"));
    expectNothingImported(file);
}

// Three imports in one minute keep three copies; each holds its own file.
TEST_F(CaptureImportChecks, ImportsInTheSameMinuteNeverOverwriteACopy) {
    for (const char* quantity : {"1", "2", "3"}) {
        writeFile(capture, std::string("3830001234567;") + quantity + "\n");
        run("start KnjizenjeINVASCI\n");
    }
    const std::string name = kArchive;
    EXPECT_EQ(archived(), (std::vector<std::string>{name, name + "_2", name + "_3"}));
    EXPECT_EQ(readFile(archive / name), "3830001234567;1\n");
    EXPECT_EQ(readFile(archive / (name + "_2")), "3830001234567;2\n");
    EXPECT_EQ(readFile(archive / (name + "_3")), "3830001234567;3\n");
    EXPECT_EQ(sql("SELECT POPISANAZALOGA FROM INVENDET"), "6000");
    // Each import numbers and counts on from what the archive holds.
    EXPECT_EQ(sql("SELECT ZAPIS, USPESNOKNJIZENJE FROM INVTPS ORDER BY ZAPIS"), "1|1\n2|2\n3|3");
}

// The folder setting written without a trailing separator, the Windows way, still receives the
// copy inside it; a blank setting puts it into the working folder.
TEST_F(CaptureImportChecks, TheArchiveFolderSettingNeedsNoTrailingSeparatorAndBlankIsTheWorkingFolder) {
    std::filesystem::create_directories(directory.path() / "zajem" / "arhiv");
    GLO.POTARHIVZAJEMAASCII = "zajem\\arhiv";
    const std::filesystem::path working = std::filesystem::current_path();
    std::filesystem::current_path(directory.path());
    writeFile(capture, "3830001234567;1\n");
    run("start KnjizenjeINVASCI\n");
    GLO.POTARHIVZAJEMAASCII = "";
    writeFile(capture, "3830001234567;2\n");
    run("start KnjizenjeINVASCI\n");
    std::filesystem::current_path(working);
    EXPECT_EQ(readFile(directory.path() / "zajem" / "arhiv" / kArchive), "3830001234567;1\n");
    EXPECT_FALSE(std::filesystem::exists(directory.path() / "zajem" / "arhivARHINV_240315_0905"));
    EXPECT_EQ(readFile(directory.path() / kArchive), "3830001234567;2\n");
}

}  // namespace
}  // namespace dv
