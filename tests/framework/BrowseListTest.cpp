#include "BrowseListFixture.h"
#include "data/RecordBuffers.h"
#include "runtime/WindowInput.h"

namespace dv::test {
namespace {

TEST_F(BrowseListTest, FillsAPageOfTheRangeAndScrollsByRowPageAndToTheEnds) {
    addProducts(1, 12);
    addProducts(2, 3, "Drugi ");
    open(Request::None);
    EXPECT_EQ(names(), products(1, 5));
    EXPECT_EQ(shown().highlighted(), 1);
    EXPECT_EQ(list->thumbPosition(), 0);
    EXPECT_EQ(shown().cell(1, 3).text, "1") << "the column's picture";

    for (int i = 0; i < 4; ++i) key(keys::Down);
    EXPECT_EQ(list->currentChoice(), 5);
    EXPECT_EQ(INVENDET.Naziv.str(), "Izdelek 05") << "the highlighted record is in the buffer";
    key(keys::Down);
    EXPECT_EQ(names(), products(2, 6));
    EXPECT_EQ(highlightedName(), "Izdelek 06");
    EXPECT_EQ(list->thumbPosition(), 50);

    key(keys::PgDn);
    EXPECT_EQ(names(), products(7, 11));
    EXPECT_EQ(highlightedName(), "Izdelek 11") << "page down keeps the screen row";
    key(keys::PgDn);
    EXPECT_EQ(names(), products(8, 12));
    EXPECT_EQ(list->thumbPosition(), 100);
    key(keys::PgDn);
    EXPECT_EQ(highlightedName(), "Izdelek 12") << "at the end: the last row";

    key(keys::Home);
    EXPECT_EQ(names(), products(1, 5));
    EXPECT_EQ(shown().highlighted(), 1);
    key(keys::PgUp);
    key(keys::Up);
    EXPECT_EQ(names(), products(1, 5));
    EXPECT_EQ(shown().highlighted(), 1);
    key(keys::End);
    EXPECT_EQ(names(), products(8, 12));
    EXPECT_EQ(highlightedName(), "Izdelek 12");
    key(keys::Up);
    key(keys::PgUp);
    EXPECT_EQ(names(), products(3, 7));
    EXPECT_EQ(highlightedName(), "Izdelek 06");
}

TEST_F(BrowseListTest, AnEmptyListOffersInsertOnlyAndShowsTheNewRecord) {
    addProducts(1, 3);
    open(Request::None, 3);
    EXPECT_EQ(shown().rowCount(), 0);
    EXPECT_FALSE(enabled("Spremeni"));
    EXPECT_FALSE(enabled("Brisi"));
    EXPECT_FALSE(enabled("Poglej"));
    EXPECT_TRUE(enabled("Dodaj"));
    EXPECT_EQ(INVENDET.StevInventure, 0) << "no record: the buffer is cleared";

    key(keys::Delete);
    key(keys::CtrlEnter);
    key(keys::ShiftEnter);
    key(keys::Enter);
    EXPECT_TRUE(calls.empty());

    key(keys::Insert);
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].request, ReqInsert);
    EXPECT_EQ(calls[0].stocktake, 3) << "the new record has the range's values";
    EXPECT_EQ(calls[0].name, "") << "and starts empty";
    EXPECT_EQ(names(), std::vector<std::string>{"Nov 01"});
    EXPECT_TRUE(enabled("Spremeni"));
    EXPECT_TRUE(enabled("Brisi"));
    EXPECT_EQ(window().focused(), &shown());

    press("Dodaj");
    EXPECT_EQ(names(), (std::vector<std::string>{"Nov 01", "Nov 02"}));
    EXPECT_EQ(highlightedName(), "Nov 02") << "positioned on the saved record";
}

TEST_F(BrowseListTest, DeletingRefillsThePageFromTheRowsBeforeWhenTheLastRowGoes) {
    addProducts(1, 7);
    open(Request::None);
    key(keys::End);
    EXPECT_EQ(names(), products(3, 7));
    press("Brisi");
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].request, ReqDelete);
    EXPECT_EQ(calls[0].name, "Izdelek 07");
    EXPECT_EQ(names(), products(2, 6));
    EXPECT_EQ(highlightedName(), "Izdelek 06");

    ASSERT_TRUE(highlightRow(window(), shown(), 2).ok());
    pump(window(), *list);
    press("Brisi");
    EXPECT_EQ(calls.back().name, "Izdelek 03");
    EXPECT_EQ(names(), (std::vector<std::string>{"Izdelek 01", "Izdelek 02", "Izdelek 04",
                                                 "Izdelek 05", "Izdelek 06"}));
    EXPECT_EQ(highlightedName(), "Izdelek 04") << "the row after the deleted one, on its row";
}

TEST_F(BrowseListTest, AListOpenedToViewHasNoInsertChangeOrDelete) {
    addProducts(1, 3);
    open(ReqView);
    for (const char* button : {"Dodaj", "Spremeni", "Brisi"}) {
        EXPECT_FALSE(visible(button)) << button;
        EXPECT_FALSE(enabled(button)) << button;
    }
    key(keys::Insert);
    key(keys::Delete);
    key(keys::CtrlEnter);
    EXPECT_TRUE(calls.empty());
    key(keys::ShiftEnter);
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].request, ReqView);
    EXPECT_EQ(calls[0].name, "Izdelek 01");
    EXPECT_FALSE(visible("Izberi")) << "not selecting: Select is hidden";
}

TEST_F(BrowseListTest, ALookupGivesBackTheCallersRecordOnCancelAndTheChosenOneOnSelect) {
    addProducts(1, 4);
    const auto callerRecord = [this] {
        clearRecord(lines.table(), &INVENDET);
        INVENDET.StevInventure = 1;
        INVENDET.EAN = "caller";
        INVENDET.Naziv = "Klicatelj";
        INVENDET.NarejenVnos = 5;
    };
    callerRecord();
    open(ReqSelect);
    EXPECT_TRUE(visible("Izberi"));
    EXPECT_TRUE(enabled("Izberi"));
    ASSERT_TRUE(highlightRow(window(), shown(), 3).ok());
    pump(window(), *list);
    EXPECT_EQ(INVENDET.Naziv.str(), "Izdelek 03");
    list->OnClose(RespCancelled);
    EXPECT_EQ(INVENDET.Naziv.str(), "Klicatelj");
    EXPECT_EQ(INVENDET.EAN.str(), "caller");
    EXPECT_EQ(INVENDET.NarejenVnos, 5);

    callerRecord();
    open(ReqSelect);
    ASSERT_TRUE(highlightRow(window(), shown(), 2).ok());
    pump(window(), *list);
    press("Izberi");
    ASSERT_EQ(host->finished, RespCompleted);
    list->OnClose(RespCompleted);
    EXPECT_EQ(INVENDET.Naziv.str(), "Izdelek 02");
    EXPECT_EQ(INVENDET.EAN.str(), numbered("1", 2) + "1");
    EXPECT_EQ(INVENDET.NarejenVnos, 5) << "only the listed fields come from the list";

    callerRecord();
    open(ReqSelect, 1, [](BrowseList& l) { l.options().selectWholeRecord = true; });
    key(keys::Down);
    key(keys::Enter);  // as a double click: Select
    ASSERT_EQ(host->finished, RespCompleted);
    list->OnClose(RespCompleted);
    EXPECT_EQ(INVENDET.Naziv.str(), "Izdelek 02");
    EXPECT_EQ(INVENDET.NarejenVnos, 0) << "the whole record";
    EXPECT_TRUE(calls.empty());
}

TEST_F(BrowseListTest, TypingInAnIncrementalLocatorFindsTheFirstRecordAtOrAfterIt) {
    for (const char* name : {"Aa", "Ac", "Abd", "Abc", "B", "C", "D", "E"})
        ASSERT_TRUE(addLine(lines, {1, std::string("E") + name, name}));
    open(Request::None);
    key(keys::End);
    key(keys::Letter('A'));
    EXPECT_EQ(highlightedName(), "Aa");
    EXPECT_EQ(window().control("Lokator").text(), "a");
    key(keys::kShift + keys::Letter('B'));
    EXPECT_EQ(highlightedName(), "Abc") << "at or after \"AB\", case ignored";
    EXPECT_EQ(window().control("Lokator").text(), "aB");
    key(keys::Backspace);
    EXPECT_EQ(highlightedName(), "Aa");
    EXPECT_EQ(window().control("Lokator").text(), "a");
    key(keys::Backspace);
    EXPECT_EQ(window().control("Lokator").text(), "");
    key(keys::Letter('Z'));
    EXPECT_EQ(highlightedName(), "E") << "after the last record: the last one";
    EXPECT_EQ(names().size(), 5u) << "the page stays full";

    for (int i = 0; i < 45; ++i) key(keys::Letter('Q'));
    EXPECT_EQ(list->order(1).locator.text().size(), kMaxLocatorText);
}

}  // namespace
}  // namespace dv::test
