#include "BrowseListFixture.h"
#include "data/RecordBuffers.h"
#include "framework/BrowseThumb.h"

namespace dv::test {
namespace {

// Four lines whose order by name differs from their order by EAN.
class BrowseOrdersTest : public BrowseListTest {
  protected:
    void SetUp() override {
        BrowseListTest::SetUp();
        for (const auto& [ean, name] :
             {std::pair{"300", "Ananas"}, {"100", "Cesnja"}, {"200", "Banana"}, {"400", "Dinja"}})
            ASSERT_TRUE(addLine(lines, {1, ean, name}));
    }
    Control& tab(int number) { return *window().control("Zavihki").members()[number - 1]; }
};

TEST_F(BrowseOrdersTest, EachTabChoosesItsOrderAndTheHighlightedRecordStays) {
    open(Request::None);
    EXPECT_EQ(names(), (std::vector<std::string>{"Ananas", "Banana", "Cesnja", "Dinja"}));
    ASSERT_TRUE(highlightRow(window(), shown(), 2).ok());
    pump(window(), *list);
    ASSERT_TRUE(chooseTab(window(), tab(2)).ok());
    pump(window(), *list);
    EXPECT_EQ(list->currentOrder(), 2);
    EXPECT_EQ(names(), (std::vector<std::string>{"Cesnja", "Banana", "Ananas", "Dinja"}));
    EXPECT_EQ(highlightedName(), "Banana");
    ASSERT_TRUE(chooseTab(window(), tab(1)).ok());
    pump(window(), *list);
    EXPECT_EQ(names(), (std::vector<std::string>{"Ananas", "Banana", "Cesnja", "Dinja"}));
    EXPECT_EQ(highlightedName(), "Banana");
}

TEST_F(BrowseOrdersTest, AnEntryLocatorTakesTheTypingAndMovesWhenAccepted) {
    open(Request::None, 1,
         [](BrowseList& l) { l.AttachLocator(LocatorKind::Entry, "Iskanje", 1); });
    key(keys::kShift + keys::Letter('D'));
    Control& entry = window().control("Iskanje");
    EXPECT_EQ(window().focused(), &entry);
    EXPECT_EQ(entry.value(), "D");
    EXPECT_EQ(highlightedName(), "Ananas") << "nothing moves before the field is accepted";
    ASSERT_TRUE(typeInto(window(), entry, "ces").ok());
    key(keys::Tab);
    EXPECT_EQ(highlightedName(), "Cesnja");
    EXPECT_EQ(window().focused(), &shown());
}

TEST_F(BrowseOrdersTest, AStepLocatorJumpsToTheFirstMatchOrOneRowOn) {
    open(Request::None, 1, [](BrowseList& l) { l.AttachLocator(LocatorKind::Step, {}, 2); });
    ASSERT_TRUE(chooseTab(window(), tab(2)).ok());
    pump(window(), *list);
    key(keys::Letter('2'));
    EXPECT_EQ(highlightedName(), "Banana");
    key(keys::Letter('2'));
    EXPECT_EQ(highlightedName(), "Ananas") << "already there: one row on";
    key(keys::Letter('1'));
    EXPECT_EQ(highlightedName(), "Cesnja");
    key(keys::Letter('9'));
    EXPECT_EQ(highlightedName(), "Dinja");
}

TEST_F(BrowseOrdersTest, TheThumbGoesToTheEndsOrToTheValueOfItsTable) {
    for (int unit = 2; unit <= 5; ++unit)
        ASSERT_TRUE(addLine(lines, {1, "50" + std::to_string(unit), "Enota", 1, unit}));
    open(Request::None, 1, [](BrowseList& l) {
        l.SetThumb(ThumbStyle::Alpha, 1);
        const int byUnit = l.DefineOrder(0);
        l.LimitOrder(LimitType::SingleValue, {{0, fixedValue(ExpressionValue::number(1)), {}}},
                     byUnit);
        l.SetThumb(ThumbStyle::Numeric, byUnit);
    });
    list->OnThumb(100);
    EXPECT_EQ(highlightedName(), "Dinja");
    EXPECT_EQ(list->thumbPosition(), 100);
    list->OnThumb(1);
    EXPECT_EQ(highlightedName(), "Ananas");
    EXPECT_EQ(list->thumbPosition(), 0);
    ASSERT_EQ(thumbText(ThumbStyle::Alpha, 4), "B ");
    list->OnThumb(4);
    EXPECT_EQ(highlightedName(), "Banana") << "the first name at or after the table's prefix";
    ASSERT_EQ(thumbText(ThumbStyle::Alpha, 6), "BN");
    list->OnThumb(6);
    EXPECT_EQ(highlightedName(), "Cesnja");

    list->ChooseOrder(3);
    list->OnThumb(50);  // units 1..5: unit 3
    EXPECT_EQ(INVENDET.Enota, 3);
    EXPECT_EQ(highlightedName(), "Enota");
}

TEST_F(BrowseOrdersTest, AListHeldWholeShowsEveryRowAndPlacesTheThumbExactly) {
    for (int n = 1; n <= 6; ++n) ASSERT_TRUE(addLine(lines, {1, "90" + std::to_string(n), "Z"}));
    open(Request::None, 1, [](BrowseList& l) { l.options().fileLoaded = true; });
    EXPECT_EQ(shown().rowCount(), 10) << "more than a page";
    EXPECT_EQ(list->thumbPosition(), 0);
    list->OnThumb(50);
    EXPECT_EQ(shown().highlighted(), 5);
    EXPECT_EQ(list->thumbPosition(), 44);
    key(keys::PgDn);
    EXPECT_EQ(shown().highlighted(), 10);
    EXPECT_EQ(list->thumbPosition(), 100);
}

TEST_F(BrowseOrdersTest, ARangeOnTheParentRecordFollowsItAndWatchedFieldsRefresh) {
    ASSERT_TRUE(addLine(lines, {2, "700", "Drugi"}));
    const TableDef& stocktakes = tables.file("INVENTUR").table();
    INVENTUR.StevInventure = 1;
    host = nullptr;
    list.reset();
    host = std::make_unique<TestBrowseHost>(browseLayout(), Request::None);
    ASSERT_EQ(view.Open(), kLevelBenign);
    list = std::make_unique<BrowseList>();
    list->SetUp(*host, view, "Seznam");
    list->DefineOrder(kNameKey);
    list->LimitOrder(LimitType::FileRelation, {{Stocktake, bufferField(stocktakes, 0), {}},
                                               {Unit, fixedValue(ExpressionValue::number(1)), {}},
                                               {Kind, fixedValue(ExpressionValue::text("M")), {}}});
    list->MapColumn(lines.table(), Name, 2);
    list->WatchField(stocktakes, 5);  // CLAN1
    list->Init();
    EXPECT_EQ(names().size(), 4u);

    INVENTUR.StevInventure = 2;
    EXPECT_TRUE(list->NeedRefresh());
    key(keys::Down);
    EXPECT_EQ(names(), std::vector<std::string>{"Drugi"});
    EXPECT_FALSE(list->NeedRefresh());

    ASSERT_TRUE(addLine(lines, {2, "800", "Drugi 2"}));
    key(keys::Up);
    EXPECT_EQ(names().size(), 1u) << "nothing told the list";
    INVENTUR.CLAN1 = "Novak";
    key(keys::Up);
    EXPECT_EQ(names(), (std::vector<std::string>{"Drugi", "Drugi 2"}));
}

TEST_F(BrowseOrdersTest, ACurrentValueRangeKeepsTheValueItWasOpenedWith) {
    clearRecord(lines.table(), &INVENDET);
    INVENDET.StevInventure = 4;
    INVENDET.Enota = 1;
    INVENDET.VrstaProdaje = "M";
    open(Request::None, 1, [](BrowseList& l) {
        l.LimitOrder(LimitType::CurrentValue, {{Stocktake, {}, {}}, {Unit, {}, {}}, {Kind, {}, {}}},
                     1);
    });
    EXPECT_EQ(shown().rowCount(), 0);
    EXPECT_EQ(INVENDET.StevInventure, 0);
    key(keys::Insert);
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].stocktake, 4);
    EXPECT_EQ(names(), std::vector<std::string>{"Nov 01"});
}

}  // namespace
}  // namespace dv::test
