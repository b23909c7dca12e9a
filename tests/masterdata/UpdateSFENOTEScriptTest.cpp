#include <gtest/gtest.h>

#include "CodeListData.h"
#include "FormScriptFixture.h"
#include "runtime/Date.h"
#include "schema/Records.h"

namespace dv {
namespace {

class UpdateSFENOTEScript : public test::FormScriptFixture {
  protected:
    UpdateSFENOTEScript() {
        auto unit1 = [] { SFENOTE.Enota = 1; };
        caller("NovaEnota", "SFENOTE", ReqInsert, {}, procedureByName("UpdateSFENOTE"));
        caller("SpremeniEnoto", "SFENOTE", ReqChange, unit1, procedureByName("UpdateSFENOTE"));
        caller("PoglejEnoto", "SFENOTE", ReqView, unit1, procedureByName("UpdateSFENOTE"));
        caller("BrisiEnoto", "SFENOTE", ReqDelete, unit1, procedureByName("UpdateSFENOTE"));
    }
};

TEST_F(UpdateSFENOTEScript, ANewUnitNeedsCodeAndNameAndTakesKindAndDates) {
    run(R"(start NovaEnota
window "Dodajanje zapisa"
expect ?SFENOTE:Enota text "1"
press ?OK
message " INFORMACIJA" "\"Naziv\" podatek mora biti vnešen !"
answer OK
window "Dodajanje zapisa"
expect ?SFENOTE:Naziv focused
type ?SFENOTE:Enota ""
press ?OK
message " INFORMACIJA" "\"Skladišče\" podatek mora biti vnešen !"
answer OK
expect ?SFENOTE:Enota focused
type ?SFENOTE:Enota "7"
type ?SFENOTE:Naziv "Skladišče Ljubljana"
press " Konsignacija"
focus ?SFENOTE:PROMETZAKLJUCENDODATUMA
date "31.01.2024"
key F6
expect ?SFENOTE:PROMETZAKLJUCENDODATUMA text "31.01.2024"
focus ?SFENOTE:DATUMDOVOLJENEMESOBDELAVE
date "01.02.2024"
key F6
expect ?SFENOTE:DATUMDOVOLJENEMESOBDELAVE text "01.02.2024"
press ?OK
idle
)");
    run("sql \"SELECT ENOTA, NAZIV, TIP, PROMETZAKLJUCENDODATUMA, DATUMDOVOLJENEMESOBDELAVE "
        "FROM SFENOTE\" \"7|Skladišče Ljubljana|K|" +
        std::to_string(dayNumber(2024, 1, 31)) + "|" + std::to_string(dayNumber(2024, 2, 1)) +
        "\"\n");
}

TEST_F(UpdateSFENOTEScript, ChangeViewAndDeleteFollowTheRequest) {
    insert("SFENOTE", [] {
        SFENOTE.Enota = 1;
        SFENOTE.Naziv = "Center";
        SFENOTE.TIP = "M";
    });
    run(R"(start SpremeniEnoto
window "Spreminjanje zapisa"
expect ?SFENOTE:Naziv text "Center"
type ?SFENOTE:Naziv "   "
press ?OK
message " INFORMACIJA" "\"Naziv\" podatek mora biti vnešen !"
answer OK
window "Spreminjanje zapisa"
type ?SFENOTE:Naziv "Centrala"
press " Veleprodajno"
press "V redu"
idle
sql "SELECT NAZIV, TIP FROM SFENOTE WHERE ENOTA = 1" "Centrala|V"
start PoglejEnoto
window "Vpogled podatkov"
type ?SFENOTE:Naziv "Drugo"
press "V redu"
idle
sql "SELECT NAZIV FROM SFENOTE WHERE ENOTA = 1" "Centrala"
start BrisiEnoto
message "Confirm Delete" "Are you sure you want to delete the highlighted record?"
answer No
idle
sql "SELECT COUNT(*) FROM SFENOTE" "1"
start BrisiEnoto
message "Confirm Delete" "Are you sure you want to delete the highlighted record?"
answer Yes
idle
sql "SELECT COUNT(*) FROM SFENOTE" "0"
)");
}

// The whole way of a new unit in the program itself: the list calls the form, which keeps a
// unit without a name from being saved, and the printout started from the list shows it.
TEST(UnitThroughTheProgram, IsAddedFromTheListAndPrinted) {
    test::CodeListData data;
    const test::ProgramRun run = data.runScript(R"(start BrowseSFENOTE
press "&Dodaj"
window "Dodajanje zapisa"
press ?OK
message " INFORMACIJA" "\"Naziv\" podatek mora biti vnešen !"
answer OK
window "Dodajanje zapisa"
expect ?SFENOTE:Naziv focused
type ?SFENOTE:Naziv "Skladišče Koper"
press " Veleprodajno"
press ?OK
window " SKLADIŠČA BLAGA - IZDELKOV"
press "Izpis  [F5]"
window "  IZPIS ŠIFRANTA SKLADIŠČ BLAGA - IZDELKOV"
press ?Tiskaj
preview contains "Skladišče Koper"
preview contains "Veleprodajno"
preview close
press "ZAPRI"
idle
sql "SELECT ENOTA, NAZIV, TIP FROM SFENOTE" "1|Skladišče Koper|V"
)");
    EXPECT_EQ(run.status, 0) << run.output;
}

}  // namespace
}  // namespace dv
