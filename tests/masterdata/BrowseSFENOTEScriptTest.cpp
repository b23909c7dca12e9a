#include <gtest/gtest.h>

#include "CodeListData.h"

namespace dv::test {
namespace {

class BrowseSFENOTEScript : public ::testing::Test {
  protected:
    void expectHolds(const std::string& script) {
        const ProgramRun run = data.runScript(script);
        EXPECT_EQ(run.status, 0) << run.output;
        EXPECT_EQ(run.output, "");
    }

    CodeListData data;
};

TEST_F(BrowseSFENOTEScript, ColumnsSortByTheirHeadingWithTheLocatorAndTheQueryLineNarrows) {
    data.addUnit(1, "Center", "M");
    data.addUnit(2, "Bežigrad", "V");
    data.addUnit(3, "Aleja", "R");
    data.addUnit(12, "Dravlje", "K");
    expectHolds(R"(start BrowseSFENOTE
window " SKLADIŠČA BLAGA - IZDELKOV"
expect ?Izberi hidden
expect ?Seznam focused
expect ?Seznam rows 4
expect ?Seznam text "1|Center|M"
expect ?Seznam cell 4 1 "12"
key 1
key 2
expect ?Lokator text "12"
expect ?Seznam text "12|Dravlje|K"
header ?Seznam 2
expect ?Seznam cell 1 2 "Aleja"
expect ?Seznam cell 2 2 "Bežigrad"
expect ?Seznam cell 4 2 "Dravlje"
expect ?Seznam text "12|Dravlje|K"
key B
expect ?Lokator text "b"
expect ?Seznam text "2|Bežigrad|V"
header ?Seznam 2
expect ?Seznam cell 1 2 "Dravlje"
expect ?Seznam cell 4 2 "Aleja"
header ?Seznam 3
message " SKLADIŠČA BLAGA - IZDELKOV" "Column \"Tip\" is not a sortable column."
answer OK
expect ?Seznam cell 1 2 "Dravlje"
header ?Seznam 1
expect ?Seznam cell 1 1 "1"
expect ?Seznam cell 4 1 "12"
header ?Seznam 2
type ?Poizvedba "c"
expect ?Seznam rows 1
expect ?Seznam text "1|Center|M"
type ?Poizvedba ""
expect ?Seznam rows 4
press ?Zapri
idle
)");
}

TEST_F(BrowseSFENOTEScript, ThePrintOptionsOpenFromTheButtonAndF5EvenWithoutUnits) {
    expectHolds(R"(start BrowseSFENOTE
window " SKLADIŠČA BLAGA - IZDELKOV"
expect ?Seznam rows 0
expect ?Izpis enabled
press ?Izpis
window "  IZPIS ŠIFRANTA SKLADIŠČ BLAGA - IZDELKOV"
press ?Preklici
window " SKLADIŠČA BLAGA - IZDELKOV"
expect ?Seznam focused
key F5
window "  IZPIS ŠIFRANTA SKLADIŠČ BLAGA - IZDELKOV"
press ?Preklici
press ?Zapri
idle
)");
}

TEST_F(BrowseSFENOTEScript, UnitsAreAddedChangedAndDeletedThroughTheForm) {
    expectHolds(R"(start BrowseSFENOTE
window " SKLADIŠČA BLAGA - IZDELKOV"
expect ?Seznam rows 0
expect ?Spremeni disabled
expect ?Brisi disabled
press ?Dodaj
window "Dodajanje zapisa"
expect ?SFENOTE:Enota text "1"
type ?SFENOTE:Naziv "Center"
press ?OK
window " SKLADIŠČA BLAGA - IZDELKOV"
expect ?Seznam text "1|Center|M"
key Insert
window "Dodajanje zapisa"
type ?SFENOTE:Naziv "Bežigrad"
press " Veleprodajno"
press ?OK
window " SKLADIŠČA BLAGA - IZDELKOV"
expect ?Seznam rows 2
expect ?Seznam text "2|Bežigrad|V"
press ?Spremeni
window "Spreminjanje zapisa"
type ?SFENOTE:Naziv "Šiška"
press ?OK
window " SKLADIŠČA BLAGA - IZDELKOV"
expect ?Seznam text "2|Šiška|V"
row ?Seznam 1
key Delete
message "Confirm Delete" "Are you sure you want to delete the highlighted record?"
answer Yes
expect ?Seznam rows 1
expect ?Seznam text "2|Šiška|V"
press ?Zapri
idle
sql "SELECT ENOTA, NAZIV, TIP FROM SFENOTE" "2|Šiška|V"
)");
}

}  // namespace
}  // namespace dv::test

namespace dv::test {
namespace {

// The right mouse button opens the list's menu on the row under the pointer; its items press
// the list's buttons.
TEST(BrowseSFENOTEMenu, TheRightClickMenuChangesTheRowUnderThePointer) {
    CodeListData data;
    data.addUnit(1, "Center", "M");
    data.addUnit(2, "Bežigrad", "V");
    const ProgramRun run = data.runScript(R"(start BrowseSFENOTE
window " SKLADIŠČA BLAGA - IZDELKOV"
expect ?Seznam text "1|Center|M"
right-click ?Seznam 2 "Change"
window "Spreminjanje zapisa"
expect ?SFENOTE:Naziv text "Bežigrad"
press ?Cancel
window " SKLADIŠČA BLAGA - IZDELKOV"
expect ?Seznam text "2|Bežigrad|V"
right-click ?Seznam 1 "Insert"
window "Dodajanje zapisa"
press ?Cancel
press ?Zapri
idle
)");
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_EQ(run.output, "");
}

}  // namespace
}  // namespace dv::test
