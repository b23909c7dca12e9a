#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <vector>

#include "CaptureReviewFixture.h"
#include "app/StartUpTestSupport.h"
#include "runtime/Decimal.h"
#include "runtime/PageQueue.h"
#include "schema/Records.h"
#include "support/RawRows.h"
#include "terminal/MarkedArchivePrint.h"

namespace dv {
namespace {

constexpr const char* kOpen =
    "start BrowseINVTPS\nwindow \"Pregled arhiva knjiženja ascii -  INVTPS File\"\n";

// One archive record as the import writes it.
struct Archived {
    int zapis;
    int stocktake;
    int unit;
    std::string code;
    std::string quantity = "1";
    int counter = 1;
    int found = 1;
};

// The archive of three stocktakes in three units, with items for all codes but 9999.
class CaptureReview : public test::CaptureReviewFixture {
  protected:
    CaptureReview() {
        unit(1, "Trgovina Center");
        unit(2, "Skladišče Žalec");
        unit(3, "Veleprodaja Črnuče");
        item("3830001", "Mleko 3,5 %", "");
        item("3830002", "Kruh", "");
    }

    void unit(int code, const std::string& name) {
        test::addRawRow(*tables, "SFENOTE", [&] {
            SFENOTE.Enota = static_cast<std::uint16_t>(code);
            SFENOTE.Naziv = name;
        });
    }

    void item(const std::string& ean, const std::string& shortName, const std::string& rest) {
        test::addRawRow(*tables, "ARTIKLI", [&] {
            ARTIKLI.EAN = ean;
            ARTIKLI.KRATEKNAZIV = shortName;
            ARTIKLI.DRUGIDELNAZIVA = rest;
        });
    }

    void archive(const Archived& row) {
        test::addRawRow(*tables, "INVTPS", [&] {
            INVTPS.Zapis = row.zapis;
            INVTPS.STEVINVENTURE = static_cast<std::uint16_t>(row.stocktake);
            INVTPS.ENOTA = static_cast<std::uint16_t>(row.unit);
            INVTPS.VRSTAPRODAJE = "M";
            INVTPS.EANKODA = row.code;
            INVTPS.KOLICINA = *Decimal::parse(row.quantity);
            INVTPS.DATUMKNJIZENJA = dayNumber(2024, 3, 15);
            INVTPS.URAKNJIZENJA = timeValue(8, 5, 30);
            INVTPS.USPESNOKNJIZENJE = row.counter;
            INVTPS.JENIVARTIKLIH = static_cast<std::uint8_t>(row.found);
        });
    }

    // The detail lines of the last preview, top to bottom: the texts printed on the line of
    // each code, left to right, joined by "|" (fields printed blank left out).
    std::vector<std::string> detailLines() const {
        std::vector<std::string> lines;
        const PageQueue* pages = frontEnd.lastPreview();
        if (pages == nullptr) return lines;
        for (const Page& page : pages->pages) {
            std::map<PageLength, std::vector<const PageText*>> rows;
            for (const PageText& text : page.texts) rows[text.y].push_back(&text);
            for (auto& [y, texts] : rows) {
                if (std::none_of(texts.begin(), texts.end(),
                                 [](const PageText* t) { return t->name == "INVTPS:EANKODA"; }))
                    continue;
                std::sort(texts.begin(), texts.end(),
                          [](const PageText* a, const PageText* b) { return a->x < b->x; });
                std::string joined;
                for (const PageText* text : texts)
                    if (!text->text.empty()) joined += (joined.empty() ? "" : "|") + text->text;
                lines.push_back(joined);
            }
        }
        return lines;
    }
};

// The list's order is stocktake, unit, sale type, code, record number; three marked rows of
// two codes in two units print by code and, within a code, by record number, under the name
// of the unit of the row highlighted when the print button got the focus (unit 3, none of
// the marked rows' units).
TEST_F(CaptureReview, MarkedRowsPrintByCodeAndRecordNumberUnderTheHighlightedUnit) {
    archive({5, 7, 1, "3830002", "2"});
    archive({2, 7, 1, "3830001", "5", 1});
    archive({4, 7, 1, "3830001", "3", 2});
    archive({1, 7, 2, "3830002", "1,5"});
    archive({3, 8, 3, "9999", "4", 0, 0});
    run(std::string(kOpen) + R"(expect ?Seznam rows 5
expect ?Seznam cell 1 1 "2"
expect ?Seznam cell 2 1 "4"
expect ?Seznam cell 3 1 "5"
expect ?Seznam cell 4 1 "1"
expect ?Seznam cell 5 1 "3"
mark ?Seznam 4
mark ?Seznam 2
row ?Seznam 3
key Space
mark ?Seznam 1
mark ?Seznam 1
expect ?Seznam marked "2 3 4"
row ?Seznam 5
focus ?IzpisiIzbrane
press ?IzpisiIzbrane
preview contains "Veleprodaja Črnuče"
preview contains "Izpis izbranih iz arhiva knjiženih  "
preview contains "Stran "
preview contains "Knjiž."
preview close
)" + "window \"Pregled arhiva knjiženja ascii -  INVTPS File\"\n" +
        R"(expect ?Seznam marked "2 3 4"
expect ?Seznam text "3|8|3|M|0|9999||4,00|15.3.2024|8:05:30|0"
)");
    EXPECT_EQ(detailLines(), (std::vector<std::string>{
                                 "7|1|3830001|Mleko 3,5 %|3,00|15.3.2024|8:05:30|2",
                                 "7|2|3830002|Kruh|1,50|15.3.2024|8:05:30|1",
                                 "7|1|3830002|Kruh|2,00|15.3.2024|8:05:30|1",
                             }));
}

// Each row shows its item's name, read by the first 13 characters of the code: a code no item
// has shows a blank name and 0 under "Art. je / ni"; a longer code of an item shows the name,
// its short name and second part as the item's name group holds them.
TEST_F(CaptureReview, TheItemNameIsReadPerRowAndBlankForAnUnknownCode) {
    archive({1, 7, 1, "3830001", "12,5", 3});
    archive({2, 7, 1, "383000200000", "1", 0, 0});
    archive({3, 7, 1, "3830002000000X", "1"});
    item("3830002000000", "Jogurt", "borovnica");
    run(std::string(kOpen) + R"(expect ?Seznam rows 3
expect ?Seznam text "1|7|1|M|1|3830001|Mleko 3,5 %|12,50|15.3.2024|8:05:30|3"
expect ?Seznam cell 2 5 "0"
expect ?Seznam cell 2 6 "383000200000"
expect ?Seznam cell 2 7 ""
expect ?Seznam cell 3 6 "3830002000000X"
expect ?Seznam cell 3 7 "Jogurt              borovnica"
close
)");
}

// Ctrl+A and "Izberi Vse" mark every row of the view, also the rows of other pages; the marks
// stay with their records when the list is sorted by another column, and all of them print.
TEST_F(CaptureReview, CtrlAMarksEveryRowAlsoOnOtherPages) {
    for (int i = 1; i <= 14; ++i) archive({i, 7, 1, "38300" + std::to_string(10 + i)});
    run(std::string(kOpen) + R"(expect ?Seznam rows 10
expect ?Seznam marked ""
focus ?Seznam
key Ctrl+A
expect ?Seznam marked "1 2 3 4 5 6 7 8 9 10"
key End
expect ?Seznam cell 10 1 "14"
expect ?Seznam marked "1 2 3 4 5 6 7 8 9 10"
key Space
expect ?Seznam marked "1 2 3 4 5 6 7 8 9"
header ?Seznam 1
header ?Seznam 1
expect ?Seznam cell 1 1 "14"
expect ?Seznam marked "2 3 4 5 6 7 8 9 10"
press ?IzberiVse
expect ?Seznam marked "1 2 3 4 5 6 7 8 9 10"
expect ?IzberiVse text "Izberi &Vse"
press ?IzpisiIzbrane
preview pages 1
preview close
close
)");
    EXPECT_EQ(detailLines().size(), 14u);
}

// The query line narrows the rows on the sort column (the stocktake number); marking stays
// with the records, so rows marked before the query still print.
TEST_F(CaptureReview, TheQueryLineNarrowsTheRowsAndMarksStayWithTheRecords) {
    archive({1, 7, 1, "3830001"});
    archive({2, 8, 1, "3830002"});
    archive({3, 8, 1, "3830001"});
    run(std::string(kOpen) + R"(mark ?Seznam 1
type ?Poizvedba "8"
expect ?Seznam rows 2
expect ?Seznam cell 1 1 "3"
expect ?Seznam marked ""
mark ?Seznam 2
press ?IzpisiIzbrane
preview close
close
)");
    EXPECT_EQ(detailLines(),
              (std::vector<std::string>{"7|1|3830001|Mleko 3,5 %|1,00|15.3.2024|8:05:30|1",
                                        "8|1|3830002|Kruh|1,00|15.3.2024|8:05:30|1"}));
}

// Nothing marked: the report machinery says there is nothing to print, and no preview opens. A
// print of marked rows that runs already (the preview of another list window open) is not
// started again; the user is told so.
TEST_F(CaptureReview, AnEmptySelectionAndAPrintInProgressPrintNothing) {
    archive({1, 7, 1, "3830001"});
    run(std::string(kOpen) + R"(press ?IzpisiIzbrane
message "Please note..." "|Report is empty!||Nothing to print or preview.|"
answer OK
mark ?Seznam 1
)");
    EXPECT_EQ(frontEnd.lastPreview(), nullptr);
    const MarkedArchivePrint other{2, {1}};
    {
        const MarkedArchivePrintScope running(other);
        run(R"(press ?IzpisiIzbrane
message " OBVESTILO" "Izpis izbranih zapisov že poteka.|Počakajte, da se konča, in poskusite znova."
answer OK
)");
    }
    EXPECT_EQ(frontEnd.lastPreview(), nullptr);
    EXPECT_EQ(markedArchivePrint(), nullptr);
    run(R"(press ?IzpisiIzbrane
preview contains "Trgovina Center"
preview close
close
)");
    EXPECT_EQ(detailLines().size(), 1u);
    EXPECT_EQ(markedArchivePrint(), nullptr);
}

// The menu "Zajem s terminalov - zajem ASCII" starts the list of the capture file (item 1) and
// the list of the archive (item 3).
TEST(CaptureReviewMenu, ItemsOneAndThreeStartTheirLists) {
    test::ProgramFolder folder;
    folder.write("ZALTO.INI", test::quietSettings());
    folder.write("BACKUP.INI", test::recentBackup());
    const test::ProgramRun run = folder.script(R"(start Main
window "    DIDEROVIV "
menu "&Zajem s terminalov - zajem ASCII" "1. Pregled zajema inventure ASCII datoteka"
window "Pregled ASCII zajema inventure -  INVASCI File"
close
window "    DIDEROVIV "
menu "&Zajem s terminalov - zajem ASCII" "3. Pregled arhiva obdelanega zajema TPS"
window "Pregled arhiva knjiženja ascii -  INVTPS File"
close
window "    DIDEROVIV "
menu "&Datoteka" "Izhod"
)");
    EXPECT_EQ(run.status, 0) << run.output;
}

}  // namespace
}  // namespace dv
