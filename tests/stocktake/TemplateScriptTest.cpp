#include <gtest/gtest.h>

#include <chrono>
#include <memory>

#include "StocktakeFixture.h"
#include "framework/ProcedureByName.h"
#include "runtime/Window.h"
#include "stocktake/TemplateBatch.h"

namespace dv {
namespace {

// The question before the template is made: on a server other stations may go on counting.
const char* const kQuestion =
    test::testsOnServer()
        ? R"(message " OPOZORILO" " Med pripravo predloge se zaloga ne sme spreminjati.| Na vseh računalnikih morate nujno zapreti ostale trgovinske programe!| Postaje, ki vnašajo popis ali uvažajo zajem, lahko ostanejo odprte.|| Ali so izpolnjeni pogoji za nadaljevanje ?")"
        : R"(message " OPOZORILO" " Inventura se lahko izvaja samo na enem računalniku.| Na ostalih morate nujno zapreti trgovinske programe!|| Ali so izpolnjeni pogoji za nadaljevanje ?")";

class TemplateScript : public test::StocktakeFixture {
  protected:
    // Three items of unit 1: one with stock and prices of 6 places, one without a stock row
    // in the unit (but with one in unit 2), one with negative stock; a second part of the name
    // longer than the template keeps.
    void addThreeItems() {
        addItem({"3830001", "Mleko", "polnomastno 3,5% 1 liter tetrapak", 3, "1.23455", "2.000049"});
        addItem({"3830002", "Kruh", "beli", 4, "0.5", "0.99995"});
        addItem({"3830003", "Jogurt", "", 3, "0.333333", "0.666666"});
        addStock("3830001", 1, "12.5", "0.81235");
        addStock("3830002", 2, "7", "0.4");
        addStock("3830003", 1, "-2", "0.2");
        addStocktake(7, 1, "M", kToday);
    }

    static std::string prepareFromTheRegister(const std::string& answer) {
        return "start EvidencaInventur\npress \" PRIPRAVA PREDLOGE\"\n" + std::string(kQuestion) +
               "\nanswer " + answer + "\nwindow \"  EVIDENCA OPRAVLJENIH INVENTUR\"\n";
    }

    std::string templateRows() {
        return sql(
            "SELECT STEVINVENTURE, ENOTA, VRSTAPRODAJE, EAN, SKUPINA, NAZIV, RACZALOGA, "
            "POPISANAZALOGA, VPCENA, MPCENA, NABCENA, NAREJENVNOS FROM INVENDET ORDER BY EAN");
    }
};

// Every item becomes a row, in item-code order; the counted quantity starts at the book
// quantity with the setting 1; prices are kept to 4 places, half away from zero; an item
// without a stock row in the unit has book quantity and purchase price 0.
TEST_F(TemplateScript, AFirstPreparationWithCountsFromStockShowsNoDifferences) {
    addThreeItems();
    GLO.PREDLAGANDEFAULTPOPIS = 1;
    run(prepareFromTheRegister("Yes"));
    EXPECT_EQ(templateRows(),
              "7|1|M|3830001|3|Mleko               polnomastno 3,5% 1 l|12500|12500|12346|20000|"
              "8124|0\n"
              "7|1|M|3830002|4|Kruh                beli|0|0|5000|10000|0|0\n"
              "7|1|M|3830003|3|Jogurt|-2000|-2000|3333|6667|2000|0");
    EXPECT_EQ(sql("SELECT COUNT(*) FROM INVENDET WHERE RACZALOGA <> POPISANAZALOGA"), "0");
}

TEST_F(TemplateScript, WithTheOtherSettingEveryCountStartsAtZeroAndNoWritesNothing) {
    addThreeItems();
    GLO.PREDLAGANDEFAULTPOPIS = 0;
    run(prepareFromTheRegister("No"));
    EXPECT_EQ(sql("SELECT COUNT(*) FROM INVENDET"), "0");
    run(prepareFromTheRegister("Yes"));
    EXPECT_EQ(sql("SELECT EAN, RACZALOGA, POPISANAZALOGA FROM INVENDET ORDER BY EAN"),
              "3830001|12500|0\n3830002|0|0\n3830003|-2000|0");
    // The template exists now: the register refuses a second first preparation.
    run(R"(start EvidencaInventur
press " PRIPRAVA PREDLOGE"
message-contains "je že narejena"
answer OK
)");
}

// Re-preparation refreshes book quantity and prices and keeps counts, flags, group and name;
// an item created after the first preparation gets its message and is not added. Kept, the
// refreshed template is written; left, it stays as it was.
TEST_F(TemplateScript, ARepreparationRefreshesStockAndPricesAndKeepsTheCounts) {
    addThreeItems();
    GLO.PREDLAGANDEFAULTPOPIS = 0;
    preparation(7, 1, "M", false);
    run("start Priprava7\n" + std::string(kQuestion) + "\nanswer Yes\nidle\n");
    ASSERT_EQ(sql("SELECT COUNT(*) FROM INVENDET"), "3");

    FileManager& lines = tables->file("INVENDET");
    FileManager& stock = tables->file("ZALOGA");
    FileManager& items = tables->file("ARTIKLI");
    ASSERT_EQ(lines.Open(), kLevelBenign);
    ASSERT_EQ(stock.Open(), kLevelBenign);
    ASSERT_EQ(items.Open(), kLevelBenign);
    INVENDET.StevInventure = 7;
    INVENDET.Enota = 1;
    INVENDET.VrstaProdaje = "M";
    INVENDET.EAN = "3830001";
    ASSERT_EQ(lines.Fetch(lines.primaryKey()), kLevelBenign);
    INVENDET.PopisanaZaloga = Decimal(11);
    INVENDET.NarejenVnos = 1;
    ASSERT_EQ(lines.Update(), kLevelBenign);
    ZALOGA.EAN = "3830001";
    ZALOGA.ENOTA = 1;
    ASSERT_EQ(stock.Fetch(stock.primaryKey()), kLevelBenign);
    ZALOGA.ZALOGA = Decimal(9);
    ZALOGA.ZADNJANABCENA = Decimal(1);
    ASSERT_EQ(stock.Update(), kLevelBenign);
    ARTIKLI.EAN = "3830003";
    ASSERT_EQ(items.Fetch(items.primaryKey()), kLevelBenign);
    ARTIKLI.MPCENA = Decimal(3);
    ARTIKLI.SKUPINA = 9;
    ARTIKLI.KRATEKNAZIV = "Jogurt novi";
    ASSERT_EQ(items.Update(), kLevelBenign);
    (void)lines.Close();
    (void)stock.Close();
    (void)items.Close();
    addItem({"3830009", "Novi izdelek", "", 5, "1", "1"});
    const std::string before = templateRows();

    preparation(7, 1, "M", true);
    const std::string repreparation =
        "start Priprava7\n" + std::string(kQuestion) +
        "\nanswer Yes\n"
        "message-contains \"Skupina: 5|Izdelek: 3830009      Novi izdelek||Čudna napaka ... "
        "zapisa INVENDET ne morem prebrati !\"\n"
        "answer OK\n"
        "message \" OPOZORILO\" \" Pri pripravi predloge ni uspelo 1 izdelkov.| Ali želite "
        "obdržati, kar je bilo zapisano ?|| Ne: predloga ostane taka, kot je bila pred "
        "pripravo.\"\n";
    run(repreparation + "answer No\nidle\n");
    EXPECT_EQ(templateRows(), before);
    run(repreparation + "answer Yes\nidle\n");
    EXPECT_EQ(templateRows(),
              "7|1|M|3830001|3|Mleko               polnomastno 3,5% 1 l|9000|11000|12346|20000|"
              "10000|1\n"
              "7|1|M|3830002|4|Kruh                beli|0|0|5000|10000|0|0\n"
              "7|1|M|3830003|3|Jogurt|-2000|0|3333|30000|2000|0");
}

// A row that cannot be added shows its message with the runtime's code and text, and the
// question at the end leaves the template as it was before the batch.
TEST_F(TemplateScript, AFailedAddIsReportedAndTheTemplateCanBeLeftAsItWas) {
    addThreeItems();
    addRow("INVENDET", [] {
        INVENDET.StevInventure = 7;
        INVENDET.Enota = 1;
        INVENDET.VrstaProdaje = "M";
        INVENDET.EAN = "3830002";
        INVENDET.Naziv = "Ostanek";
    });
    preparation(7, 1, "M", false);
    run("start Priprava7\n" + std::string(kQuestion) +
        "\nanswer Yes\n"
        "message-contains \" Napaka pri zapisu v bazo INVENDET ! || \"\n"
        "message-contains \" - \"\n"
        "answer OK\n"
        "message-contains \"ni uspelo 1 izdelkov\"\n"
        "answer No\nidle\n");
    EXPECT_EQ(sql("SELECT EAN, NAZIV FROM INVENDET"), "3830002|Ostanek");
}

// Cancel in the middle of a first preparation leaves no template row; the same pass without
// Cancel writes every item.
TEST_F(TemplateScript, CancelInTheMiddleOfAFirstPreparationLeavesNoTemplateRow) {
    addItemsWithStock(3000, 1);
    std::int64_t seen = 0;
    std::string shown;
    auto withCancelAt = [&](std::int64_t at) {
        procedures.add("Priprava", [&, at] {
            INVENTUR.StevInventure = 9;
            INVENTUR.Enota = 1;
            INVENTUR.VRSTAPRODAJE = "M";
            GLO.RepreparationMode = 0;
            // Each item takes a millisecond: the window takes its events every few hundred.
            auto elapsed = std::make_shared<std::chrono::microseconds>(0);
            TemplateBatchHooks hooks;
            hooks.clock = [elapsed] { return *elapsed; };
            hooks.watcher = [&, at, elapsed](Window& progress, std::int64_t done) {
                *elapsed += std::chrono::milliseconds(1);
                seen = done;
                if (done == 1)
                    shown = progress.caption() + "|" + progress.control("UserText").text() + "|" +
                            progress.control("Processing").text();
                if (done == at) progress.post(EventKind::Accepted, progress.control("Cancel"));
            };
            return runTemplateBatch("PripravaPredloge", hooks);
        });
    };
    withCancelAt(1500);
    run("start Priprava\n" + std::string(kQuestion) + "\nanswer Yes\nidle\n");
    EXPECT_EQ(shown, " Potek ...| Priprava je v teku ...|Processing Records");
    EXPECT_GE(seen, 1500);
    EXPECT_LT(seen, 3000) << "the pass stops after the slice in which Cancel came";
    EXPECT_EQ(sql("SELECT COUNT(*) FROM INVENDET"), "0");
    withCancelAt(-1);
    run("start Priprava\n" + std::string(kQuestion) + "\nanswer Yes\nidle\n");
    EXPECT_EQ(sql("SELECT COUNT(*), SUM(RACZALOGA) FROM INVENDET WHERE STEVINVENTURE = 9"),
              "3000|" + std::to_string(3000LL * 3001 / 2 * 1000));
}

}  // namespace
}  // namespace dv
