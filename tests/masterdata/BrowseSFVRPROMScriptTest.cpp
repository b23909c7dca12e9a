#include <gtest/gtest.h>

#include "CodeListData.h"

namespace dv::test {
namespace {

class BrowseSFVRPROMScript : public ::testing::Test {
  protected:
    BrowseSFVRPROMScript() {
        data.addType({"M", "N", 1, "Prevzem", "PREVZEM"});
        data.addType({"M", "N", 2, "Inventurni višek", "VIŠEK", "+", 1});
        data.addType({"M", "I", 3, "Skrita izdaja", "IZDAJA", "-", 0, 1});
        data.addType({"V", "I", 4, "Inventurni manjko", "MANJKO", "-", 0, 0, 1});
    }

    void expectHolds(const std::string& script) {
        const ProgramRun run = data.runScript(script);
        EXPECT_EQ(run.status, 0) << run.output;
        EXPECT_EQ(run.output, "");
    }

    CodeListData data;
};

TEST_F(BrowseSFVRPROMScript, HiddenTypesAreLeftOutAndALockedTypeCanOnlyBeViewed) {
    expectHolds(R"(start BrowseSFVRPROM
window "  VRSTE PROMETA"
expect ?Izberi hidden
expect ?Seznam rows 3
expect ?Seznam text "M|N|1|Prevzem|PREVZEM|+|0|0|0"
expect ?Seznam cell 2 4 "Inventurni višek"
expect ?Seznam cell 3 4 "Inventurni manjko"
expect ?Seznam cell 3 9 "1"
expect ?Zaklenjeno text ""
expect ?Spremeni enabled
expect ?Brisi enabled
key Down
expect ?Seznam text "M|N|2|Inventurni višek|VIŠEK|+|1|0|0"
expect ?Zaklenjeno text "Zaklenjeno"
expect ?Spremeni disabled
expect ?Brisi disabled
expect ?Dodaj enabled
key Delete
expect ?Seznam rows 3
key Ctrl+Enter
window "Vpogled podatkov"
expect ?SFVRPROM:OpisPrometa text "Inventurni višek"
press ?Cancel
window "  VRSTE PROMETA"
expect ?Seznam focused
key Enter
window "Vpogled podatkov"
press ?Cancel
window "  VRSTE PROMETA"
expect ?Zaklenjeno text "Zaklenjeno"
key Down
expect ?Seznam text "V|I|4|Inventurni manjko|MANJKO|-|0|0|1"
expect ?Zaklenjeno text ""
expect ?Spremeni enabled
expect ?Brisi enabled
row ?Seznam 2
expect ?Brisi disabled
row ?Seznam 1
expect ?Brisi enabled
right-click ?Seznam 2 "Delete"
expect ?Seznam text "M|N|2|Inventurni višek|VIŠEK|+|1|0|0"
expect ?Zaklenjeno text "Zaklenjeno"
expect ?Seznam rows 3
right-click ?Seznam 2 "Insert"
window "Dodajanje zapisa"
press ?Cancel
window "  VRSTE PROMETA"
press ?Zapri
idle
sql "SELECT COUNT(*), SUM(ZAPECENO) FROM SFVRPROM" "4|1"
sql "SELECT OPISPROMETA FROM SFVRPROM WHERE VRSTAPROMETA = 2" "Inventurni višek"
)");
}

TEST_F(BrowseSFVRPROMScript, ATypeIsAddedThroughTheFormAndThePrintOptionsOpenWithF5) {
    expectHolds(R"(start BrowseSFVRPROM
window "  VRSTE PROMETA"
press ?Dodaj
window "Dodajanje zapisa"
press "  Prodaja na DEBELO"
press " Izdaja"
type ?SFVRPROM:VrstaPrometa "5"
type ?SFVRPROM:OpisPrometa "Odpis"
type ?SFVRPROM:NazivDokumenta "ODPIS"
press " Zmanjšuje zalogo"
press ?OK
window "  VRSTE PROMETA"
expect ?Seznam rows 4
expect ?Seznam text "V|I|5|Odpis|ODPIS|-|0|0|0"
expect ?Zaklenjeno text ""
key F5
window "  IZPIS ŠIFRANTA VRSTE PROMETA"
press ?Preklici
window "  VRSTE PROMETA"
press ?Zapri
idle
sql "SELECT VRSTAPRODAJE, OZNAKADOKUMENTA, VRSTAPROMETA, NAZIVDOKUMENTA FROM SFVRPROM WHERE OPISPROMETA = 'Odpis'" "V|I|5|ODPIS"
)");
}

// The query line narrows the list by its sort column and keeps hidden types out. The order by
// description lists retail types before wholesale ones.
TEST_F(BrowseSFVRPROMScript, TheQueryLineNarrowsTheListByItsSortColumn) {
    expectHolds(R"(start BrowseSFVRPROM
window "  VRSTE PROMETA"
type ?Poizvedba "v"
expect ?Seznam rows 1
expect ?Seznam text "V|I|4|Inventurni manjko|MANJKO|-|0|0|1"
type ?Poizvedba ""
expect ?Seznam rows 3
header ?Seznam 4
type ?Poizvedba "inventurni"
expect ?Seznam rows 2
expect ?Seznam cell 1 4 "Inventurni višek"
expect ?Seznam cell 2 4 "Inventurni manjko"
type ?Poizvedba "*izdaja"
message "  VRSTE PROMETA" "Browse contains no records..."
answer OK
expect ?Seznam rows 0
expect ?Spremeni disabled
type ?Poizvedba "*prevz | *višek"
expect ?Seznam rows 2
expect ?Seznam cell 1 4 "Inventurni višek"
expect ?Seznam cell 2 4 "Prevzem"
press ?Zapri
idle
)");
}

}  // namespace
}  // namespace dv::test
