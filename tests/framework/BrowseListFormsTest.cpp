#include "BrowseListFixture.h"
#include "data/RecordBuffers.h"
#include "framework/BrowseList.h"
#include "runtime/MessageTable.h"

namespace dv::test {
namespace {

std::vector<std::string> calledFor(const std::vector<BrowseListTest::Call>& calls) {
    std::vector<std::string> names;
    for (const auto& call : calls) names.push_back(call.name);
    return names;
}

TEST_F(BrowseListTest, TheFormsToolbarMovesTheListAndCallsTheFormAgain) {
    addProducts(1, 8);
    open(Request::None);
    navigation = {vcr::Next, vcr::Next, vcr::Previous};
    press("Spremeni");
    EXPECT_EQ(calledFor(calls),
              (std::vector<std::string>{"Izdelek 01", "Izdelek 02", "Izdelek 03", "Izdelek 02"}));
    for (const auto& call : calls) EXPECT_EQ(call.request, ReqChange);
    EXPECT_EQ(highlightedName(), "Izdelek 02");
    EXPECT_EQ(shown().cell(2, 3).text, "202") << "changed twice, the list shows it";

    calls.clear();
    navigation = {vcr::Last, vcr::Next};
    press("Spremeni");
    EXPECT_EQ(calledFor(calls), (std::vector<std::string>{"Izdelek 02", "Izdelek 08"}))
        << "Next at the last record ends the round";
    EXPECT_EQ(highlightedName(), "Izdelek 08");

    calls.clear();
    navigation = {vcr::First, vcr::PageDown};
    press("Poglej");
    EXPECT_EQ(calledFor(calls),
              (std::vector<std::string>{"Izdelek 08", "Izdelek 01", "Izdelek 06"}));
    EXPECT_EQ(calls.back().request, ReqView);

    calls.clear();
    navigation = {vcr::Insert, vcr::Next};
    press("Dodaj");
    ASSERT_EQ(calls.size(), 3u);
    for (const auto& call : calls) EXPECT_EQ(call.request, ReqInsert);
    EXPECT_EQ(highlightedName(), "Nov 03") << "on the record inserted last";
    EXPECT_EQ(CallerVcrRequest, 0);
}

TEST_F(BrowseListTest, AfterAFormTheListKeepsTheHighlightedRowOnItsScreenRow) {
    addProducts(1, 12);
    open(Request::None);
    key(keys::PgDn);
    ASSERT_TRUE(highlightRow(window(), shown(), 3).ok());
    pump(window(), *list);
    EXPECT_EQ(highlightedName(), "Izdelek 08");
    press("Spremeni");
    EXPECT_EQ(shown().highlighted(), 3);
    EXPECT_EQ(highlightedName(), "Izdelek 08");
    EXPECT_EQ(shown().cell(3, 3).text, "108");

    // Cancelled: the page is read again where it stood.
    const auto cancelled = [this] {
        CallerRequest = Request::None;
        calls.push_back({ReqChange, INVENDET.Naziv.str(), INVENDET.StevInventure});
        return RespCancelled;
    };
    list->SetAskProcedure(cancelled);
    ASSERT_TRUE(addLine(lines, {1, "0", "Izdelek 075"}));
    press("Spremeni");
    EXPECT_EQ(shown().highlighted(), 3);
    EXPECT_EQ(highlightedName(), "Izdelek 08");
    EXPECT_EQ(shown().cell(2, 2).text, "Izdelek 075") << "and shows what others added";
}

TEST_F(BrowseListTest, ARecordAnotherStationDeletedIsReportedWhenTheFormIsAskedFor) {
    addProducts(1, 4);
    open(Request::None);
    ASSERT_TRUE(highlightRow(window(), shown(), 2).ok());
    pump(window(), *list);
    ASSERT_EQ(lines.Fetch(0), kLevelBenign);
    ASSERT_EQ(lines.Remove(), kLevelBenign);  // row 2's record, deleted behind the list
    tables.raiser.ids.clear();
    press("Spremeni");
    EXPECT_TRUE(calls.empty());
    EXPECT_EQ(tables.raiser.ids, std::vector<std::uint16_t>{1});
    EXPECT_EQ(names(), (std::vector<std::string>{"Izdelek 01", "Izdelek 03", "Izdelek 04"}));
    EXPECT_EQ(highlightedName(), "Izdelek 03");
}

TEST_F(BrowseListTest, TheRightClickMenuOffersTheButtonsAndPressesTheChosenOne) {
    addProducts(1, 4);
    open(Request::None);
    host->menuChoice = 3;  // &Delete
    list->OnRightClick(2);
    pump(window(), *list);
    std::vector<std::string> texts;
    for (const PopupItem& item : host->menu) texts.push_back(item.text);
    EXPECT_EQ(texts, (std::vector<std::string>{"&Insert", "&Change", "&Delete", "&View"}));
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].request, ReqDelete);
    EXPECT_EQ(calls[0].name, "Izdelek 02") << "the clicked row is highlighted first";

    open(ReqSelect, 1, [](BrowseList& l) {
        BrowseControls controls = l.controls();
        controls.query = "Iskanje";
        l.SetControls(controls);
    });
    texts.clear();
    for (const PopupItem& item : list->PopupItems()) texts.push_back(item.text);
    EXPECT_EQ(texts, (std::vector<std::string>{"&Insert", "&Change", "&Delete", "&View", "",
                                               "&Query", "&Select"}));

    open(Request::None, 7);
    host->menuChoice = 2;  // &Change, disabled without rows
    list->OnRightClick(0);
    pump(window(), *list);
    EXPECT_FALSE(host->menu[1].enabled);
    EXPECT_EQ(calls.size(), 1u);
}

TEST_F(BrowseListTest, ARefusedFilterIsReportedOnceAndTheListShowsEveryRecord) {
    addProducts(1, 2);
    addProducts(2, 2, "Drugi ");
    open(Request::None, 1,
         [](BrowseList& l) { l.PutFilter("INVENDET:NoSuchField = 1", "bad", 1); });
    EXPECT_EQ(tables.raiser.ids, std::vector<std::uint16_t>{message::ViewOpenError});
    EXPECT_EQ(names(),
              (std::vector<std::string>{"Izdelek 01", "Izdelek 02", "Drugi 01", "Drugi 02"}))
        << "without filter and range limits";
    key(keys::Down);
    key(keys::Home);
    EXPECT_EQ(tables.raiser.ids.size(), 1u);

    list->PutFilter("", "bad", 1);
    list->PutFilter("INVENDET:Skupina = 2", "group", 1);
    pump(window(), *list);
    key(keys::Home);
    EXPECT_EQ(names(), std::vector<std::string>{"Izdelek 02"}) << "range and filter again";
}

TEST_F(BrowseListTest, StartAtCurrentOpensOnTheRecordInTheBuffer) {
    addProducts(1, 9);
    clearRecord(lines.table(), &INVENDET);
    INVENDET.StevInventure = 1;
    INVENDET.Enota = 1;
    INVENDET.VrstaProdaje = "M";
    INVENDET.Naziv = "Izdelek 07";
    open(Request::None, 1, [](BrowseList& l) { l.options().startAtCurrent = true; });
    EXPECT_EQ(highlightedName(), "Izdelek 07");
    EXPECT_EQ(names(), products(5, 9)) << "the page is completed with the rows before";
}

}  // namespace
}  // namespace dv::test
