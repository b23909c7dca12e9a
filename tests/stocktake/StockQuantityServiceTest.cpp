#include "PostingScriptFixture.h"
#include "stocktake/StockQuantityService.h"
#include "framework/BatchTableSource.h"

namespace dv::test {
namespace {

class StockQuantity : public PostingScriptFixture {
  protected:
    StockQuantity() {
        addItem("A1", "Jabolka", 1, 4);
        addItem("B2", "Hruške", 2, 0);
        addRate(1, "22");
        addMeasure(4, "kos");
        add("SFENOTE", [] {
            SFENOTE.Enota = 6;
            SFENOTE.Naziv = "Skladišče Žalec";
        });
        GLO.VRSTAPZAC = "V";
        GLO.ENOTAZAC = 6;
        GLO.KOLICINA = Decimal(5);
        GLO.OZNAKAZAC = "NZX";
        GLO.VRSTAPROMETAZAC = 9;
    }

    // The service run through its window, with its values as they stand.
    void runService() {
        run(R"(start OknoVpisKolicineVzalogo
window "Vpis količine vsem artiklom v skladišču"
press ?Vpisi
idle
)");
    }
};

TEST_F(StockQuantity, AUnitWithoutStockGetsARowPerItemAtALastPriceOf1) {
    run(R"(start OknoVpisKolicineVzalogo
window "Vpis količine vsem artiklom v skladišču"
expect ?LOC:NazivEnote text "Skladišče Žalec"
expect "Veleprodaja " focused
type ?GLO:KOLICINA "2,5"
press ?Vpisi
idle
sql "SELECT VRSTAPRODAJE, OZNAKADOKUMENTA, VRSTAPROMETA, STEVILKADOKUMENTA, ENOTA, DATUMDOKUMENTA, PARTNER, DATUMDOBAVNICE, DATUMSTORITVE FROM DOKUMENT" "V|N|9|1|6|81527|1|81527|81527"
sql "SELECT POSTAVKADOKUMENTA, EAN, KOLICINA, NAZIVEM, NABAVNACENA, SIFRADDV, STOPNJADDV, PROMETNAZALOGO, BLAGOALISTORITEV, DATUMDOKUMENTA FROM DOKPROME ORDER BY POSTAVKADOKUMENTA" "1|A1|2500|kos|1000000|1|2200|+|B|81527\n2|B2|2500||1000000|2|0|+|B|81527"
sql "SELECT EAN, ENOTA, ZALOGA, VREDNOSTZALOGE, ZADNJANABCENA FROM ZALOGA ORDER BY EAN" "A1|6|2500|250|1000000\nB2|6|2500|250|1000000"
)");
}

TEST_F(StockQuantity, TwiceGivesDocumentsNAndNPlus1AndDoublesTheStock) {
    addStock("A1", 6, "1", "3", "2");
    add("DOKUMENT", [] {  // the last document of the kind: its other fields are taken over
        DOK.Id = 40;
        DOK.VRSTAPRODAJE = "V";
        DOK.OZNAKADOKUMENTA = "N";
        DOK.VRSTAPROMETA = 9;
        DOK.ENOTA = 6;
        DOK.STEVILKADOKUMENTA = 41;
        DOK.PREVZEL = "Marko";
    });
    add("DOKUMENT", [] {  // above 999999: not counted
        DOK.Id = 41;
        DOK.VRSTAPRODAJE = "V";
        DOK.OZNAKADOKUMENTA = "N";
        DOK.VRSTAPROMETA = 9;
        DOK.ENOTA = 6;
        DOK.STEVILKADOKUMENTA = 1000000;
    });
    add("DOKUMENT", [] {  // another transaction type
        DOK.Id = 42;
        DOK.VRSTAPRODAJE = "V";
        DOK.OZNAKADOKUMENTA = "N";
        DOK.VRSTAPROMETA = 8;
        DOK.ENOTA = 6;
        DOK.STEVILKADOKUMENTA = 700;
    });
    runService();
    runService();
    EXPECT_EQ(sql("SELECT ID, STEVILKADOKUMENTA, PREVZEL FROM DOKUMENT WHERE ID > 42 ORDER BY ID"),
              "43|42|Marko\n44|43|Marko");
    EXPECT_EQ(sql("SELECT STEVILKADOKUMENTA, COUNT(*) FROM DOKPROME GROUP BY 1"), "42|2\n43|2");
    // 1 + 5 + 5 at the last price 2: 3 + 10 + 10.
    EXPECT_EQ(sql("SELECT EAN, ZALOGA, VREDNOSTZALOGE FROM ZALOGA ORDER BY EAN"),
              "A1|11000|2300\nB2|10000|1000");
}

TEST_F(StockQuantity, AQuantityOf0WritesLinesAndOnlyRaisesALastPriceOf0) {
    addStock("A1", 6, "4", "7", "0");
    GLO.KOLICINA = Decimal();
    GLO.OZNAKAZAC = "I";
    runService();
    EXPECT_EQ(sql("SELECT OZNAKADOKUMENTA, KOLICINA FROM DOKPROME ORDER BY EAN"), "I|0\nI|0");
    EXPECT_EQ(sql("SELECT EAN, ZALOGA, VREDNOSTZALOGE, ZADNJANABCENA FROM ZALOGA ORDER BY EAN"),
              "A1|4000|700|1000000\nB2|0|0|1000000");
}

TEST_F(StockQuantity, AFailedWriteKeepsNothing) {
    addStock("A1", 6, "4", "7", "3");
    // Another item whose line cannot be written: its stock value would overflow the field.
    addItem("C3", "Slive", 1, 4);
    addStock("C3", 6, "1", "99999999999.99", "999999.999999");
    const std::string before = dumpTables();
    StockQuantityService service(
        {"V", 6, Decimal(5), "N", 9}, [this](const MessageBoxRequest& box) { messages.push_back(box); });
    ASSERT_TRUE(service.Start());
    FileManager& items = service.items();
    TableRecordSource source(items, items.table().findKey("SIFRAKLJUC"));
    ASSERT_EQ(source.restart(), kLevelBenign);
    while (source.next() == ReadResult::Record && service.BookItem()) {
    }
    EXPECT_TRUE(service.Failed());
    ASSERT_GE(messages.size(), 1u);
    EXPECT_EQ(messages.back().caption, " OPLA ! - RESNA NAPAKA");
    service.Abandon();
    EXPECT_EQ(lastMessage(),
              " Vpis količine v zalogo ni bil izveden.|| Dokument, postavke in zaloge so ostali "
              "nespremenjeni.|");
    EXPECT_EQ(dumpTables(), before);
}

TEST_F(StockQuantity, AnUnknownUnitOpensTheListOfUnits) {
    GLO.ENOTAZAC = 0;
    run(R"(start OknoVpisKolicineVzalogo
expect ?LOC:NazivEnote text ""
type ?GLO:ENOTAZAC "8"
window " SKLADIŠČA BLAGA - IZDELKOV"
press ?Zapri
window "Vpis količine vsem artiklom v skladišču"
expect ?LOC:NazivEnote text ""
expect ?GLO:ENOTAZAC focused
type ?GLO:ENOTAZAC "8"
window " SKLADIŠČA BLAGA - IZDELKOV"
press ?Izberi
window "Vpis količine vsem artiklom v skladišču"
expect ?GLO:ENOTAZAC text "6"
expect ?LOC:NazivEnote text "Skladišče Žalec"
press ?Preklici
idle
sql "SELECT COUNT(*) FROM DOKUMENT" "0"
)");
}

}  // namespace
}  // namespace dv::test
