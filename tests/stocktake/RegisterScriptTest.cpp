#include <gtest/gtest.h>

#include "StocktakeFixture.h"

namespace dv {
namespace {

class RegisterScript : public test::StocktakeFixture {};

TEST_F(RegisterScript, AnEmptyRegisterOffersNeitherTemplateButtonAndProposesNumberOne) {
    addUnit(1, "Trgovina Center", "M");
    run(R"(start EvidencaInventur
window "  EVIDENCA OPRAVLJENIH INVENTUR"
expect ?Zavihki text " PO ŠTEVILKI"
expect ?Seznam rows 0
expect ?PripravaPredloge disabled
expect ?IzpisPredloge disabled
expect ?Izberi hidden
press "&Dodaj"
window "Dodajanje zapisa"
expect ?INVENTUR:StevInventure text "1"
expect ?INVENTUR:DATUMINVENTURE text "15.3.2024"
expect ?INVENTUR:VRSTAPRODAJE text ""
focus ?INVENTUR:Enota
window " SKLADIŠČA BLAGA - IZDELKOV"
press "&Izberi"
window "Dodajanje zapisa"
expect ?INVENTUR:Enota text "1"
expect ?SFENOTE:Naziv text "Trgovina Center"
expect ?INVENTUR:VRSTAPRODAJE focused
expect ?INVENTUR:VRSTAPRODAJE text "M"
type ?INVENTUR:PREDSEDNIK "Ana Novak"
press ?OK
window "  EVIDENCA OPRAVLJENIH INVENTUR"
expect ?Seznam rows 1
expect ?PripravaPredloge enabled
expect ?IzpisPredloge enabled
sql "SELECT STEVINVENTURE, ENOTA, VRSTAPRODAJE, DATUMINVENTURE, PREDSEDNIK FROM INVENTUR" "1|1|M|81527|Ana Novak"
)");
}

// A number or unit left out stops POTRDI with the required-field message (the number field,
// reached again on insert, is proposed anew); a typed unit that is not known opens the list of
// units, and one chosen there takes its place.
TEST_F(RegisterScript, TheNumberAndAKnownUnitAreRequired) {
    addUnit(1, "Trgovina Center", "M");
    addUnit(4, "Veleprodaja Črnuče", "V");
    run(R"(start EvidencaInventur
press "&Dodaj"
window "Dodajanje zapisa"
type ?INVENTUR:StevInventure ""
window " SKLADIŠČA BLAGA - IZDELKOV"
key Esc
window "Dodajanje zapisa"
expect ?INVENTUR:Enota focused
press ?OK
message " INFORMACIJA" "\"Številka inventure\" podatek mora biti vnešen !"
answer OK
expect ?INVENTUR:StevInventure focused
expect ?INVENTUR:StevInventure text "1"
type ?INVENTUR:StevInventure "3"
window " SKLADIŠČA BLAGA - IZDELKOV"
key Esc
window "Dodajanje zapisa"
press ?OK
message " INFORMACIJA" "\"Skladišče\" podatek mora biti vnešen !"
answer OK
window " SKLADIŠČA BLAGA - IZDELKOV"
row ?Seznam 1
press "&Izberi"
window "Dodajanje zapisa"
expect ?INVENTUR:Enota text "1"
type ?INVENTUR:Enota "9"
window " SKLADIŠČA BLAGA - IZDELKOV"
row ?Seznam 2
press "&Izberi"
window "Dodajanje zapisa"
expect ?INVENTUR:Enota text "4"
expect ?SFENOTE:Naziv text "Veleprodaja Črnuče"
expect ?INVENTUR:VRSTAPRODAJE focused
expect ?INVENTUR:VRSTAPRODAJE text "V"
type ?INVENTUR:VRSTAPRODAJE "M"
press ?OK
window "  EVIDENCA OPRAVLJENIH INVENTUR"
sql "SELECT STEVINVENTURE, ENOTA, VRSTAPRODAJE FROM INVENTUR" "3|4|M"
)");
}

// The number is raised to the next number of the unit's stocktake shortage (35) and surplus
// (15) documents of its sale type when the focus reaches POTRDI; documents of other units, sale
// types or transaction types do not count.
TEST_F(RegisterScript, ShortageAndSurplusDocumentsRaiseTheProposedNumberWithANotice) {
    addUnit(1, "Trgovina Center", "M");
    addUnit(2, "Trgovina Šiška", "M");
    addStocktake(11, 2, "M", kToday - 30);
    addDocumentLine("M", 1, "I", 35, 41);
    addDocumentLine("M", 1, "I", 35, 7);
    addDocumentLine("M", 1, "N", 15, 39);
    addDocumentLine("V", 1, "I", 35, 90);
    addDocumentLine("M", 2, "N", 15, 80);
    addDocumentLine("M", 1, "I", 36, 70);
    run(R"(start EvidencaInventur
press "&Dodaj"
window "Dodajanje zapisa"
expect ?INVENTUR:StevInventure text "12"
focus ?INVENTUR:Enota
window " SKLADIŠČA BLAGA - IZDELKOV"
row ?Seznam 1
press "&Izberi"
window "Dodajanje zapisa"
focus ?OK
message " OBVESTILO" " Nova številka inventure 42, določena na podlagi prebranih podatkov zadnjih inv. viškov in manjkov v prometnih podatkih !"
answer OK
expect ?INVENTUR:StevInventure text "42"
press ?OK
window "  EVIDENCA OPRAVLJENIH INVENTUR"
sql "SELECT STEVINVENTURE, ENOTA FROM INVENTUR ORDER BY STEVINVENTURE" "11|2\n42|1"
)");
}

// A row numbered 0 offers neither template button; a numbered one does.
TEST_F(RegisterScript, TheTemplateButtonsFollowTheHighlightedRow) {
    addStocktake(0, 1, "M", kToday);
    addStocktake(5, 1, "M", kToday);
    run(R"(start EvidencaInventur
expect ?Seznam rows 2
row ?Seznam 1
expect ?PripravaPredloge disabled
expect ?IzpisPredloge disabled
row ?Seznam 2
expect ?PripravaPredloge enabled
expect ?IzpisPredloge enabled
expect ?Seznam cell 2 1 "5"
expect ?Seznam cell 2 4 "15.3.2024"
)");
}

// A template of the same number blocks the preparation whatever its unit and sale type, and a
// closed stocktake is never prepared; both leave the template table as it was.
TEST_F(RegisterScript, AnExistingTemplateOrAClosedStocktakeBlocksThePreparation) {
    addStocktake(5, 1, "M", kToday);
    addStocktake(5, 2, "V", kToday);
    addStocktake(6, 1, "M", kToday - 40, kToday - 10);
    addRow("INVENDET", [] {
        INVENDET.StevInventure = 5;
        INVENDET.Enota = 2;
        INVENDET.VrstaProdaje = "V";
        INVENDET.EAN = "00001";
    });
    addItemsWithStock(3, 1);
    run(R"(start EvidencaInventur
row ?Seznam 1
press " PRIPRAVA PREDLOGE"
message " OPOZORILO" " Priprava predloge za inventuro št. 5 je že narejena.| Ponovna priprava predloge je mogoča iz menija Inventura - zap. št. 2 !"
answer OK
expect ?Seznam focused
row ?Seznam 3
press " PRIPRAVA PREDLOGE"
message " OPOZORILO" " Inventura je že zaključena.| Priprava predloge ni več mogoča!"
answer OK
expect ?Seznam focused
sql "SELECT COUNT(*) FROM INVENDET" "1"
)");
}

TEST_F(RegisterScript, AClosedStocktakesTemplateIsReprintedOnlyAfterTheQuestion) {
    addStocktake(6, 1, "M", kToday - 40, kToday - 10);
    run(R"(start EvidencaInventur
press "   IZPIS PREDLOGE"
message " OPOZORILO" " Inventura je že zaključena.| Ali res želite ponovni izpis predloge/popisa ?"
answer No
window "  EVIDENCA OPRAVLJENIH INVENTUR"
expect ?Seznam focused
press "   IZPIS PREDLOGE"
message " OPOZORILO" " Inventura je že zaključena.| Ali res želite ponovni izpis predloge/popisa ?"
answer Yes
window "  DOLOČITEV POGOJEV ZA IZPIS INVENTURNE PREDLOGE"
press "PREKLIČI"
window "  EVIDENCA OPRAVLJENIH INVENTUR"
)");
}

// A closed stocktake's form shows every field disabled and can only be confirmed or cancelled;
// an open one's number and unit are skipped on change, and its number stays.
TEST_F(RegisterScript, AClosedStocktakeIsOnlyShownAndAChangeKeepsTheNumber) {
    addUnit(1, "Trgovina Center", "M");
    addStocktake(6, 1, "M", kToday - 40, kToday - 10);
    addStocktake(7, 1, "M", kToday);
    addDocumentLine("M", 1, "I", 35, 50);
    run(R"(start EvidencaInventur
row ?Seznam 1
press "&Spremeni"
window "Spreminjanje zapisa"
expect ?OK focused
expect ?INVENTUR:StevInventure disabled
expect ?INVENTUR:Enota disabled
expect ?IzberiEnoto disabled
expect ?INVENTUR:VRSTAPRODAJE disabled
expect ?INVENTUR:DATUMINVENTURE disabled
expect ?INVENTUR:PREDSEDNIK disabled
expect ?INVENTUR:CLAN1 disabled
expect ?INVENTUR:CLAN2 disabled
expect ?INVENTUR:CLAN3 disabled
expect ?INVENTUR:DATUMZAKLJUCKA text "5.3.2024"
expect ?SFENOTE:Naziv text "Trgovina Center"
press ?OK
window "  EVIDENCA OPRAVLJENIH INVENTUR"
row ?Seznam 2
press "&Spremeni"
window "Spreminjanje zapisa"
expect ?INVENTUR:PREDSEDNIK focused
type ?INVENTUR:PREDSEDNIK "Boris Kranjc"
press ?OK
window "  EVIDENCA OPRAVLJENIH INVENTUR"
sql "SELECT STEVINVENTURE, PREDSEDNIK, DATUMZAKLJUCKA FROM INVENTUR ORDER BY STEVINVENTURE" "6|Ana Novak|81517\n7|Boris Kranjc|0"
)");
}

// Called for a selection, the register offers &IZBERI, which returns the highlighted stocktake.
TEST_F(RegisterScript, SelectModeReturnsTheHighlightedStocktake) {
    addStocktake(3, 1, "M", kToday);
    addStocktake(8, 2, "V", kToday);
    Response response = Response::None;
    procedures.add("IzborInventure", [&response] {
        response = callProcedure(procedureByName("EvidencaInventur"), ReqSelect);
        return response;
    });
    run(R"(start IzborInventure
window "  EVIDENCA OPRAVLJENIH INVENTUR"
expect ?Izberi visible
row ?Seznam 2
press "&IZBERI"
idle
)");
    EXPECT_EQ(response, RespCompleted);
    EXPECT_EQ(INVENTUR.StevInventure, 8);
    EXPECT_EQ(INVENTUR.Enota, 2);
}

}  // namespace
}  // namespace dv

namespace dv {
namespace {

// Two stations add a stocktake at the same moment: both forms propose number 3. The other
// station stores it first; here POTRDI says the key is taken and stores nothing, the form
// proposes the next free number, and POTRDI stores that one. No number, unit and sale type is
// ever stored twice.
TEST_F(RegisterScript, ANumberTakenMeanwhileByAnotherStationIsRefusedAndTheNextOneProposed) {
    addUnit(1, "Trgovina Center", "M");
    addStocktake(2, 1, "M", kToday);
    run(R"(start EvidencaInventur
press "&Dodaj"
window "Dodajanje zapisa"
expect ?INVENTUR:StevInventure text "3"
focus ?INVENTUR:Enota
window " SKLADIŠČA BLAGA - IZDELKOV"
press "&Izberi"
window "Dodajanje zapisa"
type ?INVENTUR:PREDSEDNIK "Ana Novak"
)");
    addStocktake(3, 1, "M", kToday);  // the other station's, stored first
    run(R"(press ?OK
message "Duplicate Key Error" "Adding this record creates a duplicate entry for the key:  PO ŠTEVILKI "
answer OK
window "Dodajanje zapisa"
expect ?INVENTUR:StevInventure text "4"
press ?OK
window "  EVIDENCA OPRAVLJENIH INVENTUR"
sql "SELECT STEVINVENTURE, ENOTA, VRSTAPRODAJE FROM INVENTUR ORDER BY STEVINVENTURE" "2|1|M\n3|1|M\n4|1|M"
)");
}

}  // namespace
}  // namespace dv
