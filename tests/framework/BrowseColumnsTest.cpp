#include "BrowseListFixture.h"
#include "RecordingFrontEnd.h"
#include "framework/BrowseColumns.h"

namespace dv::test {
namespace {

class BrowseColumnsTest : public BrowseListTest {
  protected:
    void SetUp() override {
        BrowseListTest::SetUp();
        ASSERT_TRUE(settings.open(tables.directory()).ok());
        for (const auto& [ean, name, group] : {std::tuple{"300", "Ananas", 3},
                                               {"100", "Cesnja", 1},
                                               {"200", "Banana", 2},
                                               {"400", "Dinja", 4},
                                               {"500", "Ajda", 5}})
            ASSERT_TRUE(addLine(lines, {1, ean, name, group}));
    }
    void TearDown() override {
        list.reset();
        extension.reset();
        BrowseListTest::TearDown();
    }

    // The list with the extension: EAN sorts by the primary key, the name by the name key,
    // the group by nothing; a fourth column shows the unit's name.
    void openExtended(int stocktake = 1) {
        open(Request::None, stocktake, [this](BrowseList& l) {
            extension = std::make_unique<BrowseColumns>(l, &settings, "Pregled");
            extension->AddColumn(1, &lines.table(), Ean, kPrimaryKey);
            extension->AddColumn(2, &lines.table(), Name, kNameKey);
            extension->AddColumn(3, &lines.table(), Group);
            extension->AddColumn(4, &tables.file("SFENOTE").table(), 1, 0);
            extension->AddColumn(5, nullptr, 0);
            extension->SetQueryLine("Iskanje");
        });
    }

    std::string boxText(std::size_t n) { return frontEnd.boxes().at(n).text; }

    SettingsManager settings;
    std::unique_ptr<BrowseColumns> extension;
    RecordingFrontEnd frontEnd;
};

TEST_F(BrowseColumnsTest, OddRowsGetTheGreenBarColoursInEveryColumn) {
    openExtended();
    ASSERT_EQ(shown().rowCount(), 5);
    for (int row = 1; row <= 5; ++row)
        for (int column = 1; column <= 3; ++column) {
            const ListCell& cell = shown().cell(row, column);
            const bool odd = row % 2 == 1;
            EXPECT_EQ(cell.background, odd ? 13559033 : kDefaultColour) << row;
            EXPECT_EQ(cell.selectedBackground, odd ? 9750001 : kDefaultColour) << row;
            EXPECT_EQ(cell.foreground, odd ? 0 : kDefaultColour) << row;
            EXPECT_EQ(cell.selectedForeground, odd ? 0 : kDefaultColour) << row;
        }
    EXPECT_EQ(kGreenBarBackground, 249 | 228 << 8 | 206 << 16);
    EXPECT_EQ(kGreenBarSelectedBackground, 241 | 197 << 8 | 148 << 16);
    key(keys::Delete);  // a row fewer: the colours follow the positions again
    EXPECT_EQ(shown().cell(1, 1).background, kGreenBarBackground);
    EXPECT_EQ(shown().cell(2, 1).background, kDefaultColour);
}

TEST_F(BrowseColumnsTest, SortsByAColumnWithAKeyAndSaysWhyOthersCannot) {
    openExtended();
    EXPECT_EQ(extension->sortColumn(), 2);
    EXPECT_EQ(extension->locatePrompt(), "Locate on: Naziv");
    EXPECT_TRUE(extension->SortByColumn(1));
    EXPECT_EQ(names(), (std::vector<std::string>{"Cesnja", "Banana", "Ananas", "Dinja", "Ajda"}));
    EXPECT_EQ(extension->sortColumn(), 1);
    EXPECT_TRUE(extension->SortByColumn(2, true));
    EXPECT_EQ(names(), (std::vector<std::string>{"Dinja", "Cesnja", "Banana", "Ananas", "Ajda"}));
    EXPECT_TRUE(extension->sortDescending());

    for (int refused = 0; refused < 3; ++refused) frontEnd.answer(kButtonOk);
    EXPECT_FALSE(extension->SortByColumn(3));
    EXPECT_FALSE(extension->SortByColumn(4));
    EXPECT_FALSE(extension->SortByColumn(5));
    EXPECT_EQ(boxText(0), "Column \"Skupina\" is not a sortable column.");
    EXPECT_EQ(boxText(1), "Browse column field not in table view. Forced sort required.");
    EXPECT_EQ(boxText(2), "Browse column field is null. Column sorting suppressed.");
    EXPECT_EQ(extension->sortColumn(), 2) << "the sort stays";

    // The sorting order keeps the list's range and locator: locating on the sort column.
    EXPECT_TRUE(extension->SortByColumn(2));
    EXPECT_TRUE(extension->LocateOnColumn(2, "c"));
    EXPECT_EQ(highlightedName(), "Cesnja");
    frontEnd.answer(kButtonOk);
    EXPECT_FALSE(extension->LocateOnColumn(1, "1"));
    EXPECT_EQ(frontEnd.boxes().back().text, "\"EAN\" is not a sort column.|Select another column.");
}

TEST_F(BrowseColumnsTest, HidingTheSortColumnIsRefused) {
    openExtended();
    frontEnd.answer(kButtonOk);
    EXPECT_FALSE(extension->HideColumn(2));
    EXPECT_EQ(boxText(0),
              "The column you are trying to hide is the current sort column.|To hide this "
              "column, first change sort order to another column.");
    EXPECT_TRUE(extension->HideColumn(1));
    EXPECT_TRUE(extension->hidden(1));
    extension->ChooseMenuItem(BrowseColumns::MenuItem::Unhide, 0);
    EXPECT_FALSE(extension->hidden(1));
    EXPECT_EQ(BrowseColumns::MenuTexts(),
              (std::vector<std::string>{"Hide columns", "Unhide columns",
                                        "Change sort order to another column...",
                                        "Restore defaults", "Cancel this menu"}));
    extension->ChooseMenuItem(BrowseColumns::MenuItem::ChangeSort, 1);
    EXPECT_EQ(extension->sortColumn(), 1);
    extension->ChooseMenuItem(BrowseColumns::MenuItem::ChangeSort, 1);
    EXPECT_TRUE(extension->sortDescending()) << "the same column again turns the direction";
    extension->ChooseMenuItem(BrowseColumns::MenuItem::RestoreDefaults, 0);
    EXPECT_EQ(extension->sortColumn(), 2);
    EXPECT_FALSE(extension->sortDescending());
}

TEST_F(BrowseColumnsTest, TheLayoutIsKeptInTheSettingsFileFromOneRunToTheNext) {
    openExtended();
    extension->SetWidth(2, 120);
    extension->MoveColumn(3, 1);
    ASSERT_TRUE(extension->SortByColumn(1, true));
    list->OnClose(RespCancelled);
    EXPECT_EQ(settings.readNumber("Pregled", "COLUMNWIDTH#2", -1), 120);
    EXPECT_EQ(settings.readNumber("Pregled", "COLUMNORDER#3", -1), 1);
    EXPECT_EQ(settings.readNumber("Pregled", "SORTCOLUMN#1", -1), 1);
    EXPECT_EQ(settings.readNumber("Pregled", "SORTDIRECTION#1", -1), 1);
    EXPECT_EQ(settings.readNumber("Pregled", "SORTCOLUMN#2", -1), 0);
    EXPECT_EQ(settings.readNumber("Pregled", "DESIGNHASH#2", -1), extension->designHash(2));
    EXPECT_EQ(settings.readNumber("Pregled", "StartColumn", -1), 1);
    EXPECT_EQ(settings.readNumber("Pregled", "StartDirection", -1), 1);

    SettingsManager reread;
    ASSERT_TRUE(reread.open(tables.directory()).ok());
    EXPECT_EQ(reread.readNumber("Pregled", "COLUMNWIDTH#2", -1), 120) << "written to the file";

    openExtended();
    extension->Load();
    EXPECT_EQ(extension->width(2), 120);
    EXPECT_EQ(extension->columnOrder(), (std::vector<int>{3, 1, 2, 4, 5}));
    EXPECT_EQ(extension->sortColumn(), 1);
    EXPECT_TRUE(extension->sortDescending());
    EXPECT_EQ(names().front(), "Ajda") << "EAN 500 first";

    // A column whose design changed forgets what was kept of it.
    ASSERT_TRUE(settings.writeNumber("Pregled", "DESIGNHASH#2", 7).ok());
    openExtended();
    extension->Load();
    EXPECT_EQ(extension->width(2), 0);
}

TEST_F(BrowseColumnsTest, TheQueryLineNarrowsTheListOnTheSortColumn) {
    openExtended();
    ASSERT_TRUE(focusControl(window(), window().control("Iskanje")).ok());
    ASSERT_TRUE(typeInto(window(), window().control("Iskanje"), "a").ok());
    key(keys::Tab);
    EXPECT_EQ(names(), (std::vector<std::string>{"Ajda", "Ananas"}));
    EXPECT_EQ(extension->query(), "a");

    EXPECT_TRUE(extension->ApplyQuery("*an | =dinja"));
    EXPECT_EQ(names(), (std::vector<std::string>{"Ananas", "Banana", "Dinja"}));
    ASSERT_TRUE(extension->SortByColumn(1));
    EXPECT_EQ(names(), (std::vector<std::string>{"Banana", "Ananas", "Dinja"}))
        << "every order is narrowed";

    frontEnd.answer(kButtonOk);
    EXPECT_TRUE(extension->ApplyQuery("9"));
    EXPECT_EQ(shown().rowCount(), 0);
    EXPECT_EQ(boxText(0), "Browse contains no records...");
    frontEnd.answer(kButtonOk);
    EXPECT_FALSE(extension->ApplyQuery("?x"));
    EXPECT_EQ(boxText(1),
              "The query \"?x\" cannot be used: searching by sound (SOUNDEX) is not available.");
    EXPECT_EQ(shown().rowCount(), 0) << "a refused query changes nothing";
    frontEnd.answer(kButtonOk);
    EXPECT_FALSE(extension->LocateOnColumn(1, "1"));
    EXPECT_EQ(boxText(2), "Browse must contain records to do this.");
    EXPECT_TRUE(extension->ApplyQuery(""));
    EXPECT_EQ(shown().rowCount(), 5);
}

}  // namespace
}  // namespace dv::test
