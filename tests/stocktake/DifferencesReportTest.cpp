#include "PostingScriptFixture.h"

namespace dv::test {
namespace {

// Stocktake 8 of unit 3 (retail, taken on 01.03.2024) with lines in groups 0, 3 and 9, and a
// closed stocktake 7.
class DifferencesReport : public PostingScriptFixture {
  protected:
    DifferencesReport() {
        frontEnd.setPreviewsWait(true);
        add("SFENOTE", [] {
            SFENOTE.Enota = 3;
            SFENOTE.Naziv = "Trgovina Center";
        });
        add("SFGRUPE", [] {
            SFGRUPE.Sifra = 3;
            SFGRUPE.Naziv = "Sadje";
        });
        addRate(1, "22");
        addItem("A1", "Jabolka", 1, 0);
        add("INVENTUR", [] {
            INVENTUR.StevInventure = 7;
            INVENTUR.Enota = 3;
            INVENTUR.VRSTAPRODAJE = "M";
            INVENTUR.DATUMZAKLJUCKA = dayNumber(2024, 2, 2);
        });
        addStocktake(8, 3, "M");
        line("A1", "Jabolka", 3, "10", "7", "12.2", "8");
        line("B2", "Banane", 0, "2", "5", "4", "1.5");
        line("C3", "Cvetača", 9, "4", "4", "9", "3");  // equal: never printed
        line("D4", "Datlji", 9, "1", "2", "2", "1");
    }

    void line(const char* code, const char* name, std::uint16_t group, const char* book,
              const char* counted, const char* retail, const char* purchase) {
        add("INVENDET", [&] {
            INVENDET.StevInventure = 8;
            INVENDET.Enota = 3;
            INVENDET.VrstaProdaje = "M";
            INVENDET.EAN = code;
            INVENDET.Naziv = name;
            INVENDET.Skupina = group;
            INVENDET.RacZaloga = *Decimal::parse(book);
            INVENDET.PopisanaZaloga = *Decimal::parse(counted);
            INVENDET.MPCENA = *Decimal::parse(retail);
            INVENDET.VPCENA = Decimal(99);
            INVENDET.NABCENA = *Decimal::parse(purchase);
        });
    }

    std::string printed() const {
        const PageQueue* pages = frontEnd.lastPreview();
        std::string text;
        if (pages != nullptr)
            for (int page = 0; page < pages->pageCount(); ++page) text += pages->pageText(page);
        return text;
    }

    // Opens the conditions of stocktake 8 from the list.
    static constexpr const char* kOpen = R"(start EvidencaInventurZaIzpisRazlik
window "  EVIDENCA OPRAVLJENIH INVENTUR"
row ?Seznam 2
key F5
window "  DOLOČITEV POGOJEV ZA IZPIS INVENTURNIH RAZLIK"
)";
};

TEST_F(DifferencesReport, ShortagesAreMarkedAndValuedWithoutVat) {
    GLO.CHECKBOX1 = 1;
    run(std::string(kOpen) + R"(expect ?GLO:NAZIVIZPISA text "IZPIS INVENTURNIH RAZLIK INVENTURE ŠT. 8  Z DNE 01.03.2024"
expect ?GLO:SORT text "1"
press " Po EAN"
press ?Tiskaj
preview contains "Trgovina Center"
preview contains "Razvrščanje: Po EAN kodi"
preview close
idle
)");
    const std::string text = printed();
    // A1: 3 × 12.20 / 1.22 = 30 at selling prices, 3 × 8 = 24 at purchase prices; B2 and D4
    // are surpluses: 3 × 4 / 1 (no rate) + 1 × 2, and 3 × 1.5 + 1 × 1.
    EXPECT_NE(text.find("A1\nJabolka\n3\nSadje\n12,2000\n8,0000\n10,000\n7,000\n*"),
              std::string::npos)
        << text;
    EXPECT_EQ(text.find("C3"), std::string::npos) << text;
    EXPECT_NE(text.find("SKUPAJ  inventurnih manjkov\n24,0000\n30,0000"), std::string::npos) << text;
    EXPECT_NE(text.find("SKUPAJ  inventurnih viškov\n5,5000\n14,0000"), std::string::npos) << text;
    EXPECT_LT(text.find("\nB2\n"), text.find("\nD4\n"));
}

TEST_F(DifferencesReport, PricesSwitchedOffPrintBlankButStillCount) {
    GLO.CHECKBOX1 = 1;
    run(std::string(kOpen) + R"(press ?GLO:CHECKBOX1
press ?Tiskaj
preview close
idle
)");
    const std::string text = printed();
    EXPECT_NE(text.find("A1\nJabolka\n3\nSadje\n\n8,0000\n10,000"), std::string::npos) << text;
    EXPECT_NE(text.find("SKUPAJ  inventurnih manjkov\n24,0000\n30,0000"), std::string::npos) << text;
}

TEST_F(DifferencesReport, GroupRangesDependOnTheOrder) {
    // By name, groups 0 to 5: A1 (group 3) and B2 (group 0), not D4 (group 9).
    run(std::string(kOpen) + R"(type ?GLO:DoSkupine "5"
expect ?LOC:NazivDoSkupine text ""
type ?GLO:OdSkupine "3"
expect ?LOC:NazivOdSkupine text "Sadje"
type ?GLO:OdSkupine "0"
press ?Tiskaj
preview close
idle
)");
    std::string text = printed();
    EXPECT_NE(text.find("\nA1\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\nB2\n"), std::string::npos) << text;
    EXPECT_EQ(text.find("\nD4\n"), std::string::npos) << text;
    // By group with a lower bound of 0: every group.
    run(std::string(kOpen) + R"(press " Po skupini / nazivu"
press ?Tiskaj
preview close
idle
)");
    text = printed();
    EXPECT_NE(text.find("\nD4\n"), std::string::npos) << text;
    EXPECT_LT(text.find("\nB2\n"), text.find("\nA1\n"));
    EXPECT_LT(text.find("\nA1\n"), text.find("\nD4\n"));
}

TEST_F(DifferencesReport, OnlyALowerNameBoundPrintsNothing) {
    run(std::string(kOpen) + R"(type ?GLO:OdNaziva "B"
press ?Tiskaj
message "Please note..." "|Report is empty!||Nothing to print or preview.|"
answer OK
idle
)");
}

TEST_F(DifferencesReport, AClosedStocktakeIsReprintedOnlyWhenConfirmed) {
    run(R"(start EvidencaInventurZaIzpisRazlik
expect ?IzpisRazlik enabled
press ?IzpisRazlik
message " OPOZORILO" " Inventura je že zaključena.| Ali res želite ponovni izpis inventurnih razlik ?"
answer No
window "  EVIDENCA OPRAVLJENIH INVENTUR"
expect ?Seznam focused
press ?IzpisRazlik
answer Yes
window "  DOLOČITEV POGOJEV ZA IZPIS INVENTURNIH RAZLIK"
expect ?GLO:NAZIVIZPISA text "IZPIS INVENTURNIH RAZLIK INVENTURE ŠT. 7  Z DNE"
press ?Preklici
)");
}

}  // namespace
}  // namespace dv::test
