#include "PostingFixture.h"

namespace dv::test {
namespace {

class Posting : public PostingFixture {
  protected:
    const StocktakeKey retail{12, 3, "M"};
};

// Day numbers of the tests' dates: the stocktake 01.03.2024, the posting 10.03.2024, today
// 15.03.2024.
constexpr const char* kPostingDay = "81522";
constexpr const char* kToday = "81527";

// The 60-character item name: the short name padded to its 20 characters, then the second part.
std::string fullName(const std::string& shortName, std::size_t letters) {
    return shortName + std::string(20 - letters, ' ') + "drugi del";
}

TEST_F(Posting, DifferencesBecomeDocumentLinesAndStockAndTheStocktakeCloses) {
    addStocktake(12, 3, "M");
    addRate(1, "22");
    addRate(2, "9.5");
    addMeasure(4, "kos");
    addItem("A1", "Jabolka", 1, 4);
    addItem("B2", "Hruške", 2, 4);
    addItem("C3", "Slive", 1, 4);
    // A surplus of 2 priced at the last purchase price; the stock value moves at the average.
    addStock("A1", 3, "10", "50", "6.5");
    addRow(retail, "A1", "10", "12");
    // A shortage of 3: always the average price 100 / 8 = 12.5.
    addStock("B2", 3, "8", "100", "20");
    addRow(retail, "B2", "8", "5");
    // Equal: nothing written.
    addStock("C3", 3, "4", "4", "1");
    addRow(retail, "C3", "4", "4");
    // Never counted: book 5, count 0 is a shortage of 5.
    addStock("D4", 3, "5", "10", "0");
    addRow(retail, "D4", "5", "0", 0);
    // A surplus with last purchase price 0 is priced at the average 100.00 / 8 = 12.5.
    addStock("E5", 3, "8", "100", "0");
    addRow(retail, "E5", "8", "10");

    ASSERT_TRUE(post(retail)) << lastMessage();

    EXPECT_EQ(sql("SELECT ID, VRSTAPRODAJE, OZNAKADOKUMENTA, VRSTAPROMETA, STEVILKADOKUMENTA, "
                  "ENOTA, DATUMDOKUMENTA, REFERENT, PARTNER, STEVILKADOBAVNICE, DATUMDOBAVNICE, "
                  "STEVILKAPREJETEGARACUNA, DATUMPREJETEGARACUNA, DATUMSTORITVE, PREVZEL, IZDAL, "
                  "OPOMBEDOKUMENTA1 FROM DOKUMENT ORDER BY ID"),
              std::string("1|M|N|15|12|3|") + kPostingDay + "|1|7|INV.VIŠEK|" + kPostingDay +
                  "||0|0|Ana Novak||Dokument inv. viškov pri inventuri štev. 12\n" +
                  "2|M|I|35|12|3|" + kPostingDay + "|1|7|INV.MANJKO|" + kPostingDay +
                  "|INV. 12|" + kPostingDay + "|" + kPostingDay +
                  "||Ana Novak|Dokument inv. manjkov pri inventuri štev. 12");
    EXPECT_EQ(sql("SELECT OZNAKADOKUMENTA, VRSTAPROMETA, POSTAVKADOKUMENTA, EAN, NAZIV, KOLICINA, "
                  "NAZIVEM, NABAVNACENA, PRODAJNACENABREZDDV, PRODAJNACENAZDDV, SIFRADDV, "
                  "STOPNJADDV, DATUMDOKUMENTA, PROMETNAZALOGO, BLAGOALISTORITEV FROM DOKPROME "
                  "ORDER BY OZNAKADOKUMENTA, POSTAVKADOKUMENTA"),
              "I|35|1|B2|" + fullName("Hruške", 6) + "|3000|kos|12500000|12500000|13687500|2|950|" +
                  kPostingDay + "|-|B\n" +
                  "I|35|2|D4||5000||2000000|2000000|2000000|0|0|" + kPostingDay + "|-|B\n" +
                  "N|15|1|A1|" + fullName("Jabolka", 7) + "|2000|kos|6500000|6500000|7930000|1|2200|" +
                  kPostingDay + "|+|B\n" +
                  "N|15|2|E5||2000||12500000|12500000|12500000|0|0|" + kPostingDay + "|+|B");
    // Quantities in thousandths, values in hundredths; the last price and monthly figures stay.
    EXPECT_EQ(sql("SELECT EAN, ZALOGA, VREDNOSTZALOGE, ZADNJANABCENA, ZALOGAMESECA_3 FROM ZALOGA "
                  "ORDER BY EAN"),
              "A1|12000|6000|6500000|1500\nB2|5000|6250|20000000|1500\n"
              "C3|4000|400|1000000|1500\nD4|0|0|0|1500\nE5|10000|12500|0|1500");
    EXPECT_EQ(sql("SELECT DATUMINVENTURE, DATUMZAKLJUCKA, DOKUMENTMANJKOV, DOKUMENTVISKOV FROM "
                  "INVENTUR"),
              std::string(kPostingDay) + "|" + kToday + "|12|12");
    EXPECT_EQ(messages.back().caption, " OBVESTILO");
    EXPECT_EQ(lastMessage(),
              " Knjiženje  viškov in manjkov za inventuro št. 12 je končano.|| Število zapisov "
              "inventurnih viškov  2, inventurnih manjkov pa 2|");
}

TEST_F(Posting, WholesaleUsesTheTwoWholesaleTypes) {
    const StocktakeKey wholesale{4, 2, "V"};
    addStocktake(4, 2, "V");
    addStock("A1", 2, "10", "20", "3");
    addRow(wholesale, "A1", "10", "11");
    addStock("B2", 2, "10", "20", "3");
    addRow(wholesale, "B2", "10", "9");
    ASSERT_TRUE(post(wholesale)) << lastMessage();
    EXPECT_EQ(sql("SELECT OZNAKADOKUMENTA, VRSTAPROMETA, VRSTAPRODAJE FROM DOKUMENT ORDER BY ID"),
              "N|16|V\nI|36|V");
    EXPECT_EQ(sql("SELECT OZNAKADOKUMENTA, VRSTAPROMETA, EAN FROM DOKPROME ORDER BY EAN"),
              "N|16|A1\nI|36|B2");
}

TEST_F(Posting, WithoutDifferencesTwoEmptyHeadersAreWrittenAndTheStocktakeCloses) {
    addStocktake(12, 3, "M");
    addStock("A1", 3, "2", "2", "1");
    addRow(retail, "A1", "2", "2");
    ASSERT_TRUE(post(retail));
    EXPECT_EQ(sql("SELECT COUNT(*) FROM DOKUMENT"), "2");
    EXPECT_EQ(sql("SELECT COUNT(*) FROM DOKPROME"), "0");
    EXPECT_EQ(sql("SELECT DATUMZAKLJUCKA FROM INVENTUR"), kToday);
    EXPECT_NE(lastMessage().find("viškov  0, inventurnih manjkov pa 0|"), std::string::npos);
}

TEST_F(Posting, AClosedStocktakeOrOneWithDocumentsOfItsNumberIsNotPosted) {
    addStocktake(12, 3, "M");
    addStock("A1", 3, "2", "2", "1");
    addRow(retail, "A1", "2", "3");
    ASSERT_TRUE(post(retail));
    const std::string posted = dumpTables();
    EXPECT_FALSE(post(retail));
    EXPECT_EQ(lastMessage(),
              " Inventura je že zaključena, zato ne morete| ponoviti knjiženja inventurnih razlik !|");
    EXPECT_EQ(dumpTables(), posted);

    // Another program wrote a shortage document numbered as stocktake 13: nothing is mixed in.
    const StocktakeKey next{13, 3, "M"};
    addStocktake(13, 3, "M");
    addRow(next, "A1", "3", "1");
    add("DOKUMENT", [] {
        DOK.Id = 99;
        DOK.VRSTAPRODAJE = "M";
        DOK.ENOTA = 3;
        DOK.OZNAKADOKUMENTA = "I";
        DOK.VRSTAPROMETA = kShortageMP;
        DOK.STEVILKADOKUMENTA = 13;
    });
    const std::string before = dumpTables();
    EXPECT_FALSE(post(next));
    EXPECT_NE(lastMessage().find("s številko 13 za to skladišče in vrsto prodaje že obstaja"),
              std::string::npos);
    EXPECT_EQ(dumpTables(), before);
}

TEST_F(Posting, StrayLinesWithTheStocktakesNumberStopThePostingToo) {
    addStocktake(12, 3, "M");
    addRow(retail, "A1", "3", "1");
    add("DOKPROME", [] {
        DOKPROME.VRSTAPRODAJE = "M";
        DOKPROME.ENOTA = 3;
        DOKPROME.OZNAKADOKUMENTA = "N";
        DOKPROME.VRSTAPROMETA = kSurplusMP;
        DOKPROME.STEVILKADOKUMENTA = 12;
        DOKPROME.POSTAVKADOKUMENTA = 4;
    });
    EXPECT_FALSE(post(retail));
    EXPECT_EQ(sql("SELECT COUNT(*) FROM DOKUMENT"), "0");
    EXPECT_EQ(sql("SELECT DATUMZAKLJUCKA FROM INVENTUR"), "0");
}

TEST_F(Posting, AnItemWithoutAStockRowGetsOneSoThatLineAndStockAgree) {
    addStocktake(12, 3, "M");
    addStock("A1", 4, "9", "9", "1");  // another unit's row stays as it is
    addRow(retail, "A1", "0", "4");
    addRow(retail, "B2", "2", "0");
    ASSERT_TRUE(post(retail)) << lastMessage();
    EXPECT_EQ(sql("SELECT EAN, ENOTA, ZALOGA, VREDNOSTZALOGE FROM ZALOGA ORDER BY EAN, ENOTA"),
              "A1|3|4000|0\nA1|4|9000|900\nB2|3|-2000|0");
    EXPECT_EQ(sql("SELECT EAN, KOLICINA, NABAVNACENA FROM DOKPROME ORDER BY EAN"),
              "A1|4000|0\nB2|2000|0");
}

TEST_F(Posting, AverageAndValueAreRoundedHalfAwayFromZeroAtTheirPlaces) {
    addStocktake(12, 3, "M");
    // A = 10 / 3 = 3.3333; E = 2 × 3.3333 = 6.6666; value 10 − 6.6666 = 3.3334 → 3.33.
    addStock("A1", 3, "3", "10", "0");
    addRow(retail, "A1", "3", "1");
    // A = 1 / 6 = 0.1667 (half away); E = 0.001 × 0.1667 = 0.0001667 → 0.0002; value 1.0002 → 1.00.
    addStock("B2", 3, "6", "1", "0");
    addRow(retail, "B2", "6", "6.001");
    ASSERT_TRUE(post(retail)) << lastMessage();
    EXPECT_EQ(sql("SELECT EAN, ZALOGA, VREDNOSTZALOGE FROM ZALOGA ORDER BY EAN"),
              "A1|1000|333\nB2|6001|100");
    EXPECT_EQ(sql("SELECT EAN, NABAVNACENA FROM DOKPROME ORDER BY EAN"),
              "A1|3333300\nB2|166700");
}

}  // namespace
}  // namespace dv::test
