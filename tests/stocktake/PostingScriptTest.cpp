#include "PostingScriptFixture.h"
#include "stocktake/RunningPostings.h"

namespace dv::test {
namespace {

class PostingScript : public PostingScriptFixture {
  protected:
    PostingScript() {
        add("SFENOTE", [] {
            SFENOTE.Enota = 3;
            SFENOTE.Naziv = "Trgovina Center";
        });
        addStocktake(11, 3, "M", dayNumber(2024, 2, 1));
        add("INVENTUR", [] {  // closed on 05.02.2024
            INVENTUR.StevInventure = 10;
            INVENTUR.Enota = 3;
            INVENTUR.VRSTAPRODAJE = "M";
            INVENTUR.DATUMZAKLJUCKA = dayNumber(2024, 2, 5);
        });
        addStock("A1", 3, "10", "50", "0");
        addRow({11, 3, "M"}, "A1", "10", "7");
        addStock("B2", 3, "4", "8", "3");
        addRow({11, 3, "M"}, "B2", "4", "6");
    }
};

TEST_F(PostingScript, TheChosenStocktakeIsPostedWithTheDateOfTheWindowAndClosedToday) {
    run(R"(start EvidencaInventurZaKnjizenjeRazlik
window "  EVIDENCA OPRAVLJENIH INVENTUR"
expect ?Izberi hidden
expect ?Seznam rows 2
expect ?Seznam text "10|3|M||||||5.2.2024||"
expect ?Knjizenje enabled
press ?Knjizenje
message " OPOZORILO" " Inventura je že zaključena, zato ne morete| ponoviti knjiženja inventurnih razlik !|"
answer OK
expect ?Seznam focused
row ?Seznam 2
press ?Knjizenje
window "  PREGLED POGOJEV ZA KNJIŽENJE INVENTURNIH RAZLIK"
expect ?GLO:DIDEROVIV text "11"
expect ?LOC:NazivEnote text "Trgovina Center"
expect ?GLO:VRSTAINV text "M"
expect ?GLO:DATUM text "01.02.2024"
press ?Preklici
window "  EVIDENCA OPRAVLJENIH INVENTUR"
sql "SELECT COUNT(*) FROM DOKUMENT" "0"
press ?Knjizenje
type ?GLO:DATUM "10.03.2024"
press ?Knjizenje
message " OBVESTILO" " Knjiženje  viškov in manjkov za inventuro št. 11 je končano.|| Število zapisov inventurnih viškov  1, inventurnih manjkov pa 1|"
answer OK
window "  EVIDENCA OPRAVLJENIH INVENTUR"
sql "SELECT DATUMDOKUMENTA FROM DOKUMENT" "81522\n81522"
sql "SELECT DATUMINVENTURE, DATUMZAKLJUCKA, DOKUMENTMANJKOV, DOKUMENTVISKOV FROM INVENTUR WHERE STEVINVENTURE = 11" "81522|81527|11|11"
sql "SELECT EAN, ZALOGA, VREDNOSTZALOGE FROM ZALOGA ORDER BY EAN" "A1|7000|3500\nB2|6000|1200"
press ?Knjizenje
message " OPOZORILO" " Inventura je že zaključena, zato ne morete| ponoviti knjiženja inventurnih razlik !|"
answer OK
press ?Zapri
)");
}

TEST_F(PostingScript, StockThatMovedAfterTheTemplateIsShownAndPostedOnlyWhenAskedTo) {
    add("ZALOGA", [] {  // an item sold after the template: 4 in the template, 3 now
        ZALOGA.EAN = "C3";
        ZALOGA.ENOTA = 3;
        ZALOGA.ZALOGA = Decimal(3);
    });
    addRow({11, 3, "M"}, "C3", "4", "4");
    const std::string before = dumpTables();
    run(R"(start EvidencaInventurZaKnjizenjeRazlik
row ?Seznam 2
press ?Knjizenje
press ?Knjizenje
message " OPOZORILO" " Zaloga se je po pripravi predloge spremenila pri 1 artiklih.|| Ali želite izpis teh artiklov ?"
answer No
message " OPOZORILO" " Ali kljub temu želite knjižiti inventurne razlike ?|| Če odgovorite NE, lahko predlogo pripravite ponovno."
answer No
message " OBVESTILO" " Knjiženje inventurnih razlik za inventuro št. 11 ni bilo izvedeno.|| Dokumenti, postavke in zaloge so ostali nespremenjeni,| inventura ostaja odprta.|"
answer OK
sql "SELECT COUNT(*) FROM DOKUMENT" "0"
press ?Knjizenje
press ?Knjizenje
answer Yes
preview contains "C3"
preview contains "Izdelek C3"
preview pages 1
preview close
answer Yes
message-contains "inventurnih viškov  1, inventurnih manjkov pa 1|"
answer OK
sql "SELECT DATUMZAKLJUCKA FROM INVENTUR WHERE STEVINVENTURE = 11" "81527"
sql "SELECT ZALOGA FROM ZALOGA WHERE EAN = 'C3'" "3000"
press ?Zapri
)");
    EXPECT_NE(dumpTables(), before);
}

}  // namespace
}  // namespace dv::test

namespace dv::test {
namespace {

TEST_F(PostingScript, ASecondPostingOfTheSameStocktakeIsRefusedWhileTheFirstRuns) {
    const RunningPosting first(StocktakeKey{11, 3, "M"});
    ASSERT_TRUE(first.claimed());
    EXPECT_FALSE(RunningPosting(StocktakeKey{11, 3, "M"}).claimed());
    run(R"(start EvidencaInventurZaKnjizenjeRazlik
row ?Seznam 2
press ?Knjizenje
message " OPOZORILO" " Knjiženje inventurnih razlik za inventuro št. 11 že poteka !|"
answer OK
expect ?Seznam focused
press ?Zapri
)");
    // The batch itself refuses too, when it is started while the first runs.
    GLO.DIDEROVIV = 11;
    GLO.ENOTAINV = 3;
    GLO.VRSTAINV = "M";
    run(R"(start KnjizenjeInventurnihRazlik
message " OPOZORILO" " Knjiženje inventurnih razlik za inventuro št. 11 že poteka !|"
answer OK
)");
    EXPECT_EQ(sql("SELECT COUNT(*) FROM DOKUMENT"), "0");
    EXPECT_TRUE(RunningPosting(StocktakeKey{12, 3, "M"}).claimed());
}

}  // namespace
}  // namespace dv::test
