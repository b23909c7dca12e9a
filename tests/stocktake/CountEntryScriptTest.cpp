#include <gtest/gtest.h>

#include "StocktakeFixture.h"
#include "framework/ProcedureByName.h"
#include "runtime/Window.h"

namespace dv {
namespace {

constexpr const char* kSelection = "  EVIDENCA OPRAVLJENIH INVENTUR";
constexpr const char* kList = " INVENTURNI POPIS ZA INVENTURO ŠT. 7";
constexpr const char* kChoose = "\"  &IZBERI INVENTURO ZA VNOS POPISA\"";

// One template row as the template preparation (and earlier counts) left it.
struct Line {
    std::string ean;
    std::string name;
    int group;
    std::string book;
    std::string counted = "0";
    int countedFlag = 0;
    int number = 7;
};

class CountEntryScript : public test::StocktakeFixture {
  protected:
    // Stocktake 7 of unit 1 (open) with four rows; stocktake 6 closed; a row of stocktake 8
    // under the same code that no list of stocktake 7 shows.
    CountEntryScript() {
        addUnit(1, "Trgovina Center", "M");
        addGroup(3, "Mlečni izdelki");
        addGroup(4, "Pekovski izdelki");
        addStocktake(6, 1, "M", kToday - 40, kToday - 10);
        addStocktake(7, 1, "M", kToday);
        addLine({"3830001", "Mleko", 3, "12.5"});
        addLine({"3830002", "Kruh", 4, "0"});
        addLine({"3830003", "Jogurt", 3, "-2", "5", 1});
        addLine({"3830004", "Sir", 9, "3"});
        addLine({"3830001", "Mleko", 3, "1", "0", 0, 8});
    }

    void addLine(const Line& line) {
        addRow("INVENDET", [&line] {
            INVENDET.StevInventure = static_cast<std::uint16_t>(line.number);
            INVENDET.Enota = 1;
            INVENDET.VrstaProdaje = "M";
            INVENDET.EAN = line.ean;
            INVENDET.Naziv = line.name;
            INVENDET.Skupina = static_cast<std::uint16_t>(line.group);
            INVENDET.RacZaloga = Decimal::parse(line.book).value();
            INVENDET.PopisanaZaloga = Decimal::parse(line.counted).value();
            INVENDET.VPCENA = Decimal::parse("1.25").value();
            INVENDET.MPCENA = Decimal::parse("2.5").value();
            INVENDET.NarejenVnos = static_cast<std::uint16_t>(line.countedFlag);
        });
    }

    // The script that opens count entry on stocktake 7 (the second row of the selection).
    static std::string openStocktake7() {
        return std::string("start PregledPredlogePopisa\nwindow \"") + kSelection +
               "\"\nrow ?Seznam 2\npress " + kChoose + "\nwindow \"" + kList + "\"\n";
    }

    std::string counts() {
        return sql(
            "SELECT EAN, POPISANAZALOGA, NAREJENVNOS FROM INVENDET WHERE STEVINVENTURE = 7 "
            "ORDER BY EAN");
    }

    const Control& listOfFocusedWindow() {
        Window* window = scheduler.desktop().focused();
        EXPECT_NE(window, nullptr);
        return window->control("?Seznam");
    }
};

// A count as a scanner and the keyboard make it: the code and Enter in the locator put the row
// under the cursor, Enter opens its form on the counted quantity, the quantity and Enter save
// it; the focus is back on the code locator for the next code. A zero counts as counted.
TEST_F(CountEntryScript, ACountIsTheCodeEnterEnterTheQuantityAndEnter) {
    run(openStocktake7() + R"(expect ?Zavihki text " PO Š&TEVILKI "
expect ?Seznam rows 4
type ?LokatorKoda "3830004" Enter
expect ?Seznam focused
expect ?Seznam cell 4 1 "3830004"
key Enter
window "Spreminjanje zapisa"
expect ?Naslov text "AŽURIRANJE ZALOGE IZ POPISA"
expect ?INVENDET:PopisanaZaloga focused
type ?INVENDET:PopisanaZaloga "2,5" Enter
window " INVENTURNI POPIS ZA INVENTURO ŠT. 7"
expect ?LokatorKoda focused
type ?LokatorKoda "3830001" Enter
key Enter
window "Spreminjanje zapisa"
type ?INVENDET:PopisanaZaloga "0" Enter
window " INVENTURNI POPIS ZA INVENTURO ŠT. 7"
expect ?LokatorKoda focused
)");
    EXPECT_EQ(counts(), "3830001|0|1\n3830002|0|0\n3830003|5000|1\n3830004|2500|1");
    // The other stocktake's row of the same code is untouched.
    EXPECT_EQ(sql("SELECT POPISANAZALOGA, NAREJENVNOS FROM INVENDET WHERE STEVINVENTURE = 8"),
              "0|0");
}

// A closed stocktake is refused as soon as the choose button takes the focus (and when it is
// pressed without the focus); the list never opens, and closing the selection ends count entry
// without a window.
TEST_F(CountEntryScript, AClosedStocktakeIsRefusedAndCancellingEndsWithoutAWindow) {
    Response response = Response::None;
    procedures.add("VnosIzMenija", [&response] {
        response = callProcedure(procedureByName("PregledPredlogePopisa"), Request::None);
        return response;
    });
    run(std::string(R"(start VnosIzMenija
window "  EVIDENCA OPRAVLJENIH INVENTUR"
row ?Seznam 1
focus )") + kChoose + R"(
message " OPOZORILO" " Inventura je že zaključena.| Vnos podatkov popisa ni več mogoč!"
answer OK
expect ?Seznam focused
press )" + kChoose + R"(
message " OPOZORILO" " Inventura je že zaključena.| Vnos podatkov popisa ni več mogoč!"
answer OK
window "  EVIDENCA OPRAVLJENIH INVENTUR"
expect ?Seznam focused
press ?Zapri
idle
)");
    EXPECT_EQ(response, RespCancelled);
    EXPECT_EQ(scheduler.desktop().focused(), nullptr);
    EXPECT_EQ(GLO.StocktakeChosen, 0u);
}

// The tabs show only stocktake 7: by code, by name, the rows still to count (not those with
// book quantity 0), the counted ones; the group tab asks for its group at once and shows its
// rows by name. The group's name is looked up for each row (blank for a group the code list
// lacks).
TEST_F(CountEntryScript, TheTabsShowTheirRowsAndTheGroupTabAsksForItsGroup) {
    run(openStocktake7() + R"(expect ?Seznam cell 1 3 "Mlečni izdelki"
expect ?Seznam cell 2 3 "Pekovski izdelki"
expect ?Seznam cell 4 3 ""
press " PO &NAZIVU IZDELKA "
expect ?Seznam focused
expect ?Seznam rows 4
expect ?Seznam cell 1 4 "Jogurt"
expect ?Seznam cell 4 4 "Sir"
type ?LokatorNaziv "M" Enter
expect ?Seznam text "3830001|3|Mlečni izdelki|Mleko|12,500|0,000|1,2500|2,5000|7|1|M|0"
press " &BREZ VNOSA"
expect ?Seznam rows 2
expect ?Seznam cell 1 4 "Mleko"
expect ?Seznam cell 2 4 "Sir"
press " VNESENI "
expect ?Seznam rows 1
expect ?Seznam cell 1 4 "Jogurt"
press " PO NAZIVU V OKVIRU S&KUPINE "
window "SKUPINE in PODSKUPINE"
row ?Seznam 1
press "&Izberi"
window " INVENTURNI POPIS ZA INVENTURO ŠT. 7"
expect ?LOC:NazivSkupine text "Mlečni izdelki"
expect ?Seznam rows 2
expect ?Seznam cell 1 4 "Jogurt"
expect ?Seznam cell 2 4 "Mleko"
press "  SKUPINA"
window "SKUPINE in PODSKUPINE"
row ?Seznam 2
press "&Izberi"
window " INVENTURNI POPIS ZA INVENTURO ŠT. 7"
expect ?LOC:NazivSkupine text "Pekovski izdelki"
expect ?Seznam rows 1
expect ?Seznam cell 1 4 "Kruh"
)");
}

// A counted row is coloured in every column but the last, on the same background whatever
// its place on the page; the other rows keep the list's own colours.
TEST_F(CountEntryScript, CountedRowsAreColouredButTheirLastColumn) {
    run(openStocktake7());
    const Control& list = listOfFocusedWindow();
    ASSERT_EQ(list.rowCount(), 4);
    const ListRow& counted = list.rows()[2];
    ASSERT_EQ(counted[0].text, "3830003");
    for (std::size_t column = 0; column + 1 < counted.size(); ++column) {
        EXPECT_EQ(counted[column].background, 12443590) << column;
        EXPECT_EQ(counted[column].selectedBackground, 4959576) << column;
    }
    EXPECT_NE(counted.back().background, 12443590);
    for (int row : {0, 1, 3})
        for (const ListCell& cell : list.rows()[static_cast<std::size_t>(row)])
            EXPECT_NE(cell.background, 12443590) << row;
}

// The form: confirming without a change still marks the row counted; the marker " Vnos: " and
// the check box show a row counted before; the other fields pass the focus to the quantity;
// inserting and deleting are refused with the framework's messages; the view says so.
TEST_F(CountEntryScript, TheFormMarksEveryConfirmedRowCountedAndRefusesInsertAndDelete) {
    run(openStocktake7() + R"(row ?Seznam 1
press "&VNOS POPISANE ZALOGE"
window "Spreminjanje zapisa"
expect ?OznakaVnosa hidden
expect ?INVENDET:NarejenVnos hidden
expect ?NazivVrsteProdaje text "NA DROBNO"
expect ?SFENOTE:Naziv text "Trgovina Center"
expect ?SFGRUPE:Naziv text "Mlečni izdelki"
expect ?INVENDET:RacZaloga text "12,500"
expect ?INVENDET:VPCENA text "1,25"
focus ?INVENDET:Naziv
expect ?INVENDET:PopisanaZaloga focused
press "POTRDI"
window " INVENTURNI POPIS ZA INVENTURO ŠT. 7"
row ?Seznam 3
press "&VNOS POPISANE ZALOGE"
window "Spreminjanje zapisa"
expect ?OznakaVnosa visible
expect ?INVENDET:NarejenVnos visible
expect ?INVENDET:PopisanaZaloga text "5,000"
type ?INVENDET:PopisanaZaloga "-1"
press "PREKLIČI"
message "Save Record" "Do you want to save the changes to this record?"
answer No
window " INVENTURNI POPIS ZA INVENTURO ŠT. 7"
press "&Dodaj"
message "Invalid Request" "This form cannot be used to insert a record"
answer OK
window " INVENTURNI POPIS ZA INVENTURO ŠT. 7"
press "&Briši"
message "Invalid Request" "This form cannot be used to delete a record"
answer OK
window " INVENTURNI POPIS ZA INVENTURO ŠT. 7"
expect ?Seznam rows 4
)");
    EXPECT_EQ(counts(), "3830001|0|1\n3830002|0|0\n3830003|5000|1\n3830004|0|0");
}

// The required fields are checked before the row is marked: a row without a group is not saved.
TEST_F(CountEntryScript, ARowWithoutItsGroupIsNotSaved) {
    addLine({"3830005", "Brez skupine", 0, "1"});
    run(openStocktake7() + R"(type ?LokatorKoda "3830005" Enter
key Enter
window "Spreminjanje zapisa"
type ?INVENDET:PopisanaZaloga "1" Enter
message " INFORMACIJA" "\"Skupina izdelkov\" podatek mora biti vnešen !"
answer OK
window "Spreminjanje zapisa"
expect ?INVENDET:PopisanaZaloga focused
press "PREKLIČI"
message "Save Record" "Do you want to save the changes to this record?"
answer No
)");
    EXPECT_EQ(sql("SELECT POPISANAZALOGA, NAREJENVNOS FROM INVENDET WHERE EAN = '3830005'"),
              "0|0");
}

// The template is prepared again only for an open stocktake and after the question: book
// quantities are refreshed and the counts kept. A reprint always asks first, with the closed
// stocktake's words when it is closed.
TEST_F(CountEntryScript, TheSelectionPreparesAgainAndReprintsAfterItsQuestions) {
    for (const char* ean : {"3830001", "3830002", "3830003", "3830004"})
        addItem({ean, "Izdelek", "", 3, "1", "2"});
    addStock("3830003", 1, "4", "1");
    const std::string question =
        R"(message " OPOZORILO" " Ali res želite ponoviti pripravo predloge/popisa ?|| Postopek je smiselno uporabiti le, če ste| medtem spremenili zalogo posameznega izdelka | (npr. prenos izdelkov med šiframi ipd.)|")";
    run(R"(start IzborGlaveInventure
window "  EVIDENCA OPRAVLJENIH INVENTUR"
row ?Seznam 1
press "  PONOVNA PRIPRAVA PREDLOGE"
message " OPOZORILO" " Inventura je že zaključena.| Ponovna priprava predloge ni več mogoča!"
answer OK
key F5
message " OPOZORILO" " Inventura je že zaključena.| Ali res želite ponovni izpis predloge/popisa ?"
answer No
window "  EVIDENCA OPRAVLJENIH INVENTUR"
row ?Seznam 2
key F5
message " OPOZORILO" " Ali res želite ponovni izpis predloge/popisa ?"
answer Yes
window "  DOLOČITEV POGOJEV ZA IZPIS INVENTURNE PREDLOGE"
expect ?GLO:NAZIVIZPISA text "PREDLOGA INVENTURE ŠT. 7  Z DNE 15.3.2024"
press "PREKLIČI"
window "  EVIDENCA OPRAVLJENIH INVENTUR"
press "  PONOVNA PRIPRAVA PREDLOGE"
)" + question + R"(
answer No
expect ?Seznam focused
press "  PONOVNA PRIPRAVA PREDLOGE"
)" + question + R"(
answer Yes
message-contains "Ali so izpolnjeni pogoji za nadaljevanje ?"
answer Yes
window "  EVIDENCA OPRAVLJENIH INVENTUR"
expect ?Seznam focused
)");
    EXPECT_EQ(sql("SELECT EAN, RACZALOGA, POPISANAZALOGA, NAREJENVNOS FROM INVENDET WHERE "
                  "STEVINVENTURE = 7 ORDER BY EAN"),
              "3830001|0|0|0\n3830002|0|0|0\n3830003|4000|5000|1\n3830004|0|0|0");
}

}  // namespace
}  // namespace dv

#include "stocktake/StocktakeLocks.h"
#include "support/OtherStation.h"

namespace dv {
namespace {

// While another station prepares the template again, a count is not saved: the form says which
// station holds the stocktake and stays open with the count typed, which is saved when
// confirmed again after the other station is done.
TEST_F(CountEntryScript, ACountIsNotSavedWhileAnotherStationPreparesTheTemplate) {
    DV_SERVER_ONLY();
    test::OtherStation other("BLAGAJNA2");
    other.hold(stocktakeLock({7, 1, "M"}), false, StationWork::Repreparation);
    run(openStocktake7() + R"(type ?LokatorKoda "3830004" Enter
key Enter
window "Spreminjanje zapisa"
type ?INVENDET:PopisanaZaloga "2,5" Enter
message " OPOZORILO" " Postaja BLAGAJNA2 ta trenutek ponovno pripravlja predlogo za inventuro št. 7.|| Popisa zdaj ni mogoče shraniti; potrdite ga znova, ko bo končala."
answer OK
window "Spreminjanje zapisa"
expect ?INVENDET:PopisanaZaloga text "2,500"
)");
    EXPECT_EQ(sql("SELECT POPISANAZALOGA, NAREJENVNOS FROM INVENDET WHERE STEVINVENTURE = 7 AND "
                  "EAN = '3830004'"),
              "0|0");
    other.release();
    run(R"(press "POTRDI"
window " INVENTURNI POPIS ZA INVENTURO ŠT. 7"
)");
    EXPECT_EQ(sql("SELECT POPISANAZALOGA, NAREJENVNOS FROM INVENDET WHERE STEVINVENTURE = 7 AND "
                  "EAN = '3830004'"),
              "2500|1");
}

}  // namespace
}  // namespace dv

#include <sqlite3.h>

#include "storage/SqliteDatabase.h"

namespace dv {
namespace {

// The row is saved on another station while its form is open here: POTRDI says so and shows the
// other station's count instead of overwriting it; a second POTRDI saves this one's.
TEST_F(CountEntryScript, ACountSavedMeanwhileOnAnotherStationIsShownNotOverwritten) {
    run(openStocktake7() + R"(type ?LokatorKoda "3830004" Enter
key Enter
window "Spreminjanje zapisa"
type ?INVENDET:PopisanaZaloga "2,5"
)");
    // The other station's save: its count and a new version of the row.
    const std::string update =
        "invendet SET popisanazaloga = 7000, narejenvnos = 1, \"_VERSION\" = \"_VERSION\" + 1 "
        "WHERE stevinventure = 7 AND ean = '3830004'";
    if (test::testsOnServer()) {
        test::runOnServer("UPDATE " + test::serverSchema(*tables, directory.path()) + "." + update);
    } else {
        const std::string sql = "UPDATE " + update;
        ASSERT_EQ(sqlite3_exec(tables->sqliteDatabase()->handle(), sql.c_str(), nullptr, nullptr,
                               nullptr),
                  SQLITE_OK);
    }
    run(R"(press "POTRDI"
message "Record Was Not Updated" "This record was changed by another station. Those changes will now be displayed. Use the Ditto Button or Ctrl+' to recall your changes."
answer OK
window "Spreminjanje zapisa"
expect ?INVENDET:PopisanaZaloga text "7,000"
)");
    EXPECT_EQ(sql("SELECT POPISANAZALOGA FROM INVENDET WHERE STEVINVENTURE = 7 AND EAN = '3830004'"),
              "7000");
    run(R"(type ?INVENDET:PopisanaZaloga "9" Enter
window " INVENTURNI POPIS ZA INVENTURO ŠT. 7"
)");
    EXPECT_EQ(sql("SELECT POPISANAZALOGA, NAREJENVNOS FROM INVENDET WHERE STEVINVENTURE = 7 AND "
                  "EAN = '3830004'"),
              "9000|1");
}

}  // namespace
}  // namespace dv
