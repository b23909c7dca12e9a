#include <gtest/gtest.h>

#include "CaptureImportFixture.h"
#include "runtime/CodePage1250.h"
#include "runtime/Window.h"

namespace dv {
namespace {

class CaptureImportScript : public test::CaptureImportFixture {
  protected:
    // Three items: one with a 12-character code, one with 13 characters that the template of
    // stocktake 7 lacks, one with 8; an archived line of the 12-character item in stocktake 8.
    void addItemsAndTemplate() {
        addItem("383000123456", "Mleko", "polnomastno");
        addItem("3830001234567", "Kruh", "beli polbeli");
        addItem("12345678", "Sol");
        addLine(7, "383000123456", "10", "0", 0);
        addLine(7, "12345678", "4", "2", 1);
        test::addRawRow(*tables, "INVTPS", [] {
            INVTPS.Zapis = 1;
            INVTPS.STEVINVENTURE = 8;
            INVTPS.ENOTA = 1;
            INVTPS.VRSTAPRODAJE = "M";
            INVTPS.EANKODA = "383000123456";
            INVTPS.KOLICINA = Decimal(1);
            INVTPS.USPESNOKNJIZENJE = 5;
            INVTPS.JENIVARTIKLIH = 1;
        });
    }
};

// The lines of the Part's edge cases in one file: a header and lines whose code does not begin
// with a digit are neither posted nor archived; a 13-digit code with a leading 0 before an item's
// 12-character code matches by the third lookup, one whose first 12 digits are that code by the
// second, and both are archived with the item's own code; 5 and 3 on an uncounted line give 8
// with counters 1 and 2 (the other stocktake's archive not counted); a known item without a
// template line gets one with book quantity 0 and counter 0, its next line counter 1; a count
// entered before is added to; an unknown code is archived once with 0 and 0. Quantities with a
// decimal point or comma, kept to 3 places in the template and 2 in the archive, half away from
// zero. The file is copied to the archive as it was and removed.
TEST_F(CaptureImportScript, EveryUsableLineIsCountedAndArchivedAndTheFileMovesToTheArchive) {
    addItemsAndTemplate();
    const std::string file =
        "EAN;KOLICINA\n"
        "\"0383000123456\";\"5\"\n"
        "3830001234560;3\n"
        "\"3830001234567\";\"12.5\"\n"
        "3830001234567;1,255\n"
        "\n"
        "12345678;1,5\n"
        "9990000000001;-0,005\n"
        " 3830001234567;1\n"
        "A3830001234567;1\n";
    writeFile(capture, file);
    std::string shown;
    importWith({[&](Window& progress, std::int64_t done) {
        if (done == 1)
            shown = progress.caption() + "|" + progress.control("UserText").text() + "|" +
                    progress.control("ProgressText").text();
    }});
    run("start Uvoz\n");
    EXPECT_EQ(shown, "Processing Records|Knjiženje popisa|11% Complete");  // 1 of 9 records
    EXPECT_EQ(templateRows(),
              "7|12345678|4|Izdelek 12345678|4000|3500|1\n"
              "7|383000123456|4|Izdelek 383000123456|10000|8000|1\n"
              "7|3830001234567|0|Kruh                beli polbeli|0|13755|1");
    EXPECT_EQ(archiveRows(),
              "1|8|1|M|383000123456|100|5|1\n"
              "2|7|1|M|383000123456|500|1|1\n"
              "3|7|1|M|383000123456|300|2|1\n"
              "4|7|1|M|3830001234567|1250|0|1\n"
              "5|7|1|M|3830001234567|126|1|1\n"
              "6|7|1|M|12345678|150|1|1\n"
              "7|7|1|M|9990000000001|-1|0|0");
    EXPECT_EQ(sql("SELECT DISTINCT DATUMKNJIZENJA, URAKNJIZENJA FROM INVTPS WHERE ZAPIS > 1"),
              std::to_string(kToday) + "|" + std::to_string(timeValue(9, 5)));
    EXPECT_FALSE(std::filesystem::exists(capture));
    ASSERT_EQ(archived(), std::vector<std::string>{kArchive});
    EXPECT_EQ(readFile(archive / kArchive), file);
}

TEST_F(CaptureImportScript, AnEmptyCaptureFileStillLeavesAnEmptyArchiveCopyAndIsRemoved) {
    writeFile(capture, "");
    run("start KnjizenjeINVASCI\n");
    EXPECT_FALSE(std::filesystem::exists(capture));
    ASSERT_EQ(archived(), std::vector<std::string>{kArchive});
    EXPECT_EQ(readFile(archive / kArchive), "");
    EXPECT_EQ(sql("SELECT COUNT(*) FROM INVTPS"), "0");
}

// A terminal writes code page 1250 with CR LF: the same lines as UTF-8 with LF give the same
// template and archive, letters of the codes included; each archive copy keeps its bytes.
TEST_F(CaptureImportScript, ACodePage1250FileWithCrLfImportsLikeTheSameFileInUtf8) {
    addItem("3838ČOKOLADA", "Čokolada", "mlečna");
    addItem("3830001234567", "Kruh");
    addStocktake(8, 1, "M");
    const std::string utf8 =
        "KODA;KOLIČINA\n\"3838ČOKOLADA\";\"2,5\"\n3838ČOKOLADA;1.5\n3830001234567;3\n"
        "3839ŠUMNIK;1\n";
    std::string cp1250 = utf8ToCp1250(utf8);
    for (std::size_t at = 0; (at = cp1250.find('\n', at)) != std::string::npos; at += 2)
        cp1250.insert(at, "\r");
    ASSERT_FALSE(isValidUtf8(cp1250));
    writeFile(capture, utf8);
    run("start KnjizenjeINVASCI\n");
    ASSERT_FALSE(std::filesystem::exists(capture));
    const std::string fromUtf8 = readFile(archive / kArchive);
    select(8, 1, "M");
    writeFile(capture, cp1250);
    run("start KnjizenjeINVASCI\n");
    ASSERT_FALSE(std::filesystem::exists(capture));
    EXPECT_EQ(fromUtf8, utf8);
    EXPECT_EQ(readFile(archive / (std::string(kArchive) + "_2")), cp1250);
    const auto rows = [&](int number) {
        const std::string where = " WHERE STEVINVENTURE = " + std::to_string(number);
        return sql("SELECT EAN, NAZIV, RACZALOGA, POPISANAZALOGA, NAREJENVNOS FROM INVENDET" +
                   where + " ORDER BY EAN") +
               "\n" +
               sql("SELECT EANKODA, KOLICINA, USPESNOKNJIZENJE, JENIVARTIKLIH FROM INVTPS" +
                   where + " ORDER BY ZAPIS");
    };
    EXPECT_EQ(rows(7),
              "3830001234567|Kruh|0|3000|1\n3838ČOKOLADA|Čokolada            mlečna|0|4000|1\n"
              "3838ČOKOLADA|250|0|1\n3838ČOKOLADA|150|1|1\n3830001234567|300|0|1\n"
              "3839ŠUMNIK|100|0|0");
    EXPECT_EQ(rows(8), rows(7));
}

}  // namespace
}  // namespace dv
