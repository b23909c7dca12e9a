#include "PostingScriptFixture.h"

namespace dv::test {
namespace {

// A posted stocktake 5 of unit 3 (retail) with its documents written as another program of the
// suite would: lines with their prices, rates and discounts as given.
class StocktakeDocuments : public PostingScriptFixture {
  protected:
    StocktakeDocuments() {
        frontEnd.setPreviewsWait(true);
        add("SFENOTE", [] {
            SFENOTE.Enota = 3;
            SFENOTE.Naziv = "Trgovina Center";
            SFENOTE.NASLOVENOTE = "Glavni trg 1";
            SFENOTE.TELEFON = "03 123 45 67";
        });
        add("INVENTUR", [] {
            INVENTUR.StevInventure = 5;
            INVENTUR.Enota = 3;
            INVENTUR.VRSTAPRODAJE = "M";
            INVENTUR.PREDSEDNIK = "Ana Novak";
            INVENTUR.CLAN3 = "Tine Kos";
            INVENTUR.DATUMZAKLJUCKA = dayNumber(2024, 3, 15);
            INVENTUR.DOKUMENTMANJKOV = 5;
            INVENTUR.DOKUMENTVISKOV = 5;
        });
        add("SFOPOMBE", [] { SFOPOMBE.VRSTICA1 = "Blago je bilo prešteto v navzočnosti komisije."; });
        addItem("A1", "Jabolka", 1, 4);
        add("ARTIKLI", [] {
            ARTIKLI.EAN = "B2";
            ARTIKLI.KRATEKNAZIV = "Hruške";
            ARTIKLI.KATALOG = "KAT-778";
        });
        header("I", kShortageMP);
        header("N", kSurplusMP);
    }

    void header(const char* mark, std::uint16_t type) {
        add("DOKUMENT", [&] {
            DOK.Id = mark[0] == 'N' ? 1 : 2;
            DOK.VRSTAPRODAJE = "M";
            DOK.ENOTA = 3;
            DOK.OZNAKADOKUMENTA = mark;
            DOK.VRSTAPROMETA = type;
            DOK.STEVILKADOKUMENTA = 5;
            DOK.DATUMDOKUMENTA = dayNumber(2024, 3, 10);
        });
    }

    void line(const char* mark, std::uint16_t type, std::uint16_t number, const char* code,
              const char* quantity, const char* price, const char* withoutVat,
              const char* withVat, const char* rate, const char* discount = "0") {
        add("DOKPROME", [&] {
            DOKPROME.VRSTAPRODAJE = "M";
            DOKPROME.ENOTA = 3;
            DOKPROME.OZNAKADOKUMENTA = mark;
            DOKPROME.VRSTAPROMETA = type;
            DOKPROME.STEVILKADOKUMENTA = 5;
            DOKPROME.POSTAVKADOKUMENTA = number;
            DOKPROME.EAN = code;
            DOKPROME.KOLICINA = *Decimal::parse(quantity);
            DOKPROME.NABAVNACENA = *Decimal::parse(price);
            DOKPROME.PRODAJNACENABREZDDV = *Decimal::parse(withoutVat);
            DOKPROME.PRODAJNACENAZDDV = *Decimal::parse(withVat);
            DOKPROME.STOPNJADDV = *Decimal::parse(rate);
            DOKPROME.POPUSTIRABATI = *Decimal::parse(discount);
        });
    }

    std::string printed() const {
        const PageQueue* pages = frontEnd.lastPreview();
        return pages == nullptr || pages->empty() ? "" : pages->pageText(0);
    }
};

TEST_F(StocktakeDocuments, TheShortageDocumentHasItsVatBandsInTheOrderTheRatesFirstOccur) {
    line("I", kShortageMP, 1, "A1", "1", "8", "10", "12.2", "22");
    line("I", kShortageMP, 2, "B2", "1", "70", "100", "109.5", "9.5");
    line("I", kShortageMP, 3, "A1", "2", "4", "5", "6.1", "22");
    line("I", kShortageMP, 4, "B2", "1", "3", "3", "3", "0");  // no VAT: no band of its own
    GLO.CHECKBOX3 = 1;
    run(R"(start EvidencaInventurZaIzpisDokumentov
window "  EVIDENCA OPRAVLJENIH INVENTUR"
press ?DokumentManjkov
preview pages 1
preview contains "Dokument inventurnih manjkov"
preview contains "Številka dokumenta: 5"
preview contains "Datum dokumenta: 10.03.2024"
preview contains "Trgovina Center"
preview contains "KAT-778"
preview contains "Ana Novak"
preview contains "Tine Kos"
preview contains "Blago je bilo prešteto v navzočnosti komisije."
preview close
window "  EVIDENCA OPRAVLJENIH INVENTUR"
expect ?Seznam focused
press ?Zapri
)");
    const std::string text = printed();
    const std::size_t first = text.find("22,00 %"), second = text.find("9,50 %");
    ASSERT_NE(first, std::string::npos) << text;
    ASSERT_NE(second, std::string::npos) << text;
    EXPECT_LT(first, second);
    EXPECT_EQ(text.find("22,00 %", first + 1), std::string::npos);
    // The 22 % band holds lines 1 and 3: base 10 + 10, VAT 2.2 + 2.2.
    EXPECT_NE(text.find("22,00 %\n20,0000\n4,4000"), std::string::npos) << text;
    EXPECT_NE(text.find("9,50 %\n100,0000\n9,5000"), std::string::npos) << text;
    // Totals: without VAT 10 + 100 + 10 + 3, with VAT 12.2 + 109.5 + 12.2 + 3, purchase 8 + 70 + 8 + 3.
    EXPECT_NE(text.find("Skupaj vrednost:\n123,0000\n136,9000\n89,0000"), std::string::npos) << text;
    // Every line is followed by its catalogue line.
    EXPECT_NE(text.find("Hruške"), std::string::npos);
}

TEST_F(StocktakeDocuments, TheSurplusDocumentValuesAPurchaseAfterItsDiscount) {
    line("N", kSurplusMP, 1, "A1", "2", "10", "12", "14.64", "22", "25");
    line("N", kSurplusMP, 2, "B2", "1", "4", "4", "4", "0");
    run(R"(start EvidencaInventurZaIzpisDokumentov
press ?DokumentViskov
preview contains "Dokument inventurnih viškov"
preview close
press ?Zapri
)");
    const std::string text = printed();
    // 2 × 10 × (100 − 25) / 100 = 15.
    EXPECT_NE(text.find("10,0000\n15,0000\n24,0000\n12,0000"), std::string::npos) << text;
    EXPECT_NE(text.find("22,00 %\n24,0000\n5,2800"), std::string::npos) << text;
    EXPECT_EQ(text.find("Osnova  in  znesek DDV", text.find("Osnova  in  znesek DDV") + 1),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("Skupaj nabavna vrednost:\n28,0000\nSkupaj DDV:\n5,2800\n19,00"),
              std::string::npos)
        << text;
}

TEST_F(StocktakeDocuments, AStocktakeWithoutDocumentsPrintsNothing) {
    addStocktake(6, 3, "M");
    run(R"(start EvidencaInventurZaIzpisDokumentov
row ?Seznam 2
press ?DokumentManjkov
message "Please note..." "|Report is empty!||Nothing to print or preview.|"
answer OK
press ?Zapri
)");
}

}  // namespace
}  // namespace dv::test
