#include <gtest/gtest.h>

#include <sstream>

#include "data/RecordBuffers.h"
#include "masterdata/FormScriptFixture.h"
#include "runtime/PageExporter.h"
#include "schema/ProgramGlobals.h"
#include "schema/Records.h"
#include "support/RawRows.h"

namespace dv::test {
namespace {

constexpr const char* kItem = "3830000000017";

// Keeps the texts of the pages a script saves, one printed text a line, in the order the bands
// printed them.
class PageTexts final : public PageExporter {
  public:
    PageTexts() : previous_(setPageExporter(this)) {}
    ~PageTexts() override { setPageExporter(previous_); }

    bool writePdf(const PageQueue& pages, const std::filesystem::path&, std::string&) override {
        texts_.clear();
        for (int page = 0; page < pages.pageCount(); ++page) {
            std::istringstream in(pages.pageText(page));
            for (std::string text; std::getline(in, text);) texts_.push_back(text);
        }
        return true;
    }

    // The `count` texts printed after the first text `label`.
    std::vector<std::string> after(const std::string& label, std::size_t count) const {
        for (std::size_t i = 0; i < texts_.size(); ++i)
            if (texts_[i] == label)
                return {texts_.begin() + static_cast<std::ptrdiff_t>(i + 1),
                        texts_.begin() +
                            static_cast<std::ptrdiff_t>(std::min(texts_.size(), i + 1 + count))};
        return {};
    }

  private:
    PageExporter* previous_;
    std::vector<std::string> texts_;
};

// The item card of one item in unit 1, opened the way count entry opens it: the card unit and
// item set, then the card called by name. The item was bought (10 at 2.00 less 10 %) and sold
// (4, purchase price 2.00, sale price 3.50 less 10 %); a line that does not move stock, a line
// of another unit and a line of another item are not its movements.
class ItemCardScript : public FormScriptFixture {
  protected:
    ItemCardScript() {
        add("SFENOTE", [] {
            SFENOTE.Enota = 1;
            SFENOTE.Naziv = "Trgovina Center";
        });
        add("ARTIKLI", [] {
            ARTIKLI.EAN = kItem;
            ARTIKLI.KRATEKNAZIV = "Jabolka";
            ARTIKLI.DRUGIDELNAZIVA = "zlati delišes";
        });
        add("ZALOGA", [] {
            ZALOGA.EAN = kItem;
            ZALOGA.ENOTA = 1;
            ZALOGA.ZALOGA = Decimal(6);
            ZALOGA.VREDNOSTZALOGE = Decimal(10);
        });
        add("SFPARTN", [] {
            SFPARTN.Sifra = 5;
            SFPARTN.Naziv = "Sadjar d.o.o.";
        });
        type("N", 1, "Prevzem blaga", "+");
        type("I", 2, "Prodaja", "-");
        type("O", 3, "Rezervacija", "0");
        document("N", 1, 81500, 5, "Ana");
        document("I", 2, 81510, 0, "Bor");
        document("O", 3, 81505, 0, "Cene");
        line("N", 1, 1, kItem, "10", "2", "0", "10", "+", 81500);
        line("I", 2, 1, kItem, "4", "2", "3.5", "10", "-", 81510);
        line("O", 3, 1, kItem, "100", "2", "0", "0", "0", 81505);
        line("N", 1, 2, kItem, "50", "9", "0", "0", "+", 81500);  // unit 2
        line("N", 1, 1, "3830000000024", "7", "9", "0", "0", "+", 81500);
        procedures.add("Kartica", [] {
            GLO.CardUnit = 1;
            GLO.CardItem = kItem;
            return callProcedure(procedureByName("BrowseKarticaArtikla"), Request::None);
        });
        procedures.add("PraznaKartica", [] {
            GLO.CardUnit = 1;
            GLO.CardItem = "3830000000031";
            return callProcedure(procedureByName("BrowseKarticaArtikla"), Request::None);
        });
    }

    // A row written as it is, without numbering or rules.
    void add(const char* table, const std::function<void()>& fill) {
        addRawRow(*tables, table, fill);
    }
    void type(const char* mark, int number, const char* description, const char* effect) {
        add("SFVRPROM", [&] {
            SFVRPROM.VrstaProdaje = "M";
            SFVRPROM.OZNAKADOKUMENTA = mark;
            SFVRPROM.VrstaPrometa = static_cast<std::uint16_t>(number);
            SFVRPROM.OpisPrometa = description;
            SFVRPROM.PROMETNAZALOGO = effect;
        });
    }
    void document(const char* mark, int type, int date, std::uint32_t partner,
                  const char* receiver) {
        add("DOKUMENT", [&] {
            DOK.Id = static_cast<std::uint32_t>(type);
            DOK.VRSTAPRODAJE = "M";
            DOK.OZNAKADOKUMENTA = mark;
            DOK.VRSTAPROMETA = static_cast<std::uint16_t>(type);
            DOK.STEVILKADOKUMENTA = 7;
            DOK.ENOTA = 1;
            DOK.DATUMDOKUMENTA = date;
            DOK.PARTNER = partner;
            DOK.STEVILKADOBAVNICE = "DOB-77";
            DOK.PREVZEL = receiver;
            DOK.IZDAL = "Skladiščnik";
        });
    }
    std::uint16_t lineNumber_ = 0;

    void line(const char* mark, int type, int unit, const char* item, const char* quantity,
              const char* price, const char* salePrice, const char* discount, const char* effect,
              int date) {
        add("DOKPROME", [&] {
            DOKPROME.VRSTAPRODAJE = "M";
            DOKPROME.OZNAKADOKUMENTA = mark;
            DOKPROME.VRSTAPROMETA = static_cast<std::uint16_t>(type);
            DOKPROME.STEVILKADOKUMENTA = 7;
            DOKPROME.ENOTA = static_cast<std::uint16_t>(unit);
            DOKPROME.POSTAVKADOKUMENTA = ++lineNumber_;
            DOKPROME.EAN = item;
            DOKPROME.NAZIVEM = "kg";
            DOKPROME.KOLICINA = *Decimal::parse(quantity);
            DOKPROME.NABAVNACENA = *Decimal::parse(price);
            DOKPROME.PRODAJNACENABREZDDV = *Decimal::parse(salePrice);
            DOKPROME.POPUSTIRABATI = *Decimal::parse(discount);
            DOKPROME.PrometNaZalogo = effect;
            DOKPROME.DATUMDOKUMENTA = date;
        });
    }
};

TEST_F(ItemCardScript, TheCardListsTheMovementsWithTheirValuesAndTotals) {
    run(R"(start Kartica
window " KARTICA IZDELKA"
expect ?LOC:NazivIzdelka text "Jabolka             zlati delišes"
expect ?CardItem text "3830000000017"
expect ?Izberi hidden
expect ?Seznam rows 2
expect ?Seznam text "M N Prevzem blaga|7|17.02.2024|kg|10,000|1,8000||||1|1"
expect ?DOK:PREVZEL text "Ana"
expect ?DOK:STEVILKADOBAVNICE text "DOB-77"
expect ?SFPARTN:Naziv text "Sadjar d.o.o."
expect ?LOC:NABAVASKUPAJ text "10,000"
expect ?LOC:IZDAJASKUPAJ text "4,000"
expect ?LOC:KOLICINASALDO text "6,000"
expect ?ZALOGA:ZALOGA text "6,000"
expect ?ZALOGA:VREDNOSTZALOGE text "10,00"
key Down
expect ?Seznam text "M I Prodaja|7|27.02.2024|kg|||4,000|2,0000|3,1500|2|1"
expect ?DOK:PREVZEL text "Bor"
expect ?SFPARTN:Naziv text ""
press ?Zapri
idle
)");
    // The totals were read under the wait cursor, which is gone again.
    EXPECT_GE(frontEnd.busyTimes(), 1);
    EXPECT_FALSE(frontEnd.busy());
}

TEST_F(ItemCardScript, ThePrintoutShowsTheValuesAndTheClosingBalance) {
    PageTexts printed;
    run(R"(start Kartica
press ?Tiskaj
preview pages 1
preview contains " Kartica za izdelek:   3830000000017 -  Jabolka"
preview contains "Trgovina Center"
preview contains "1,80"
preview contains "18,00"
preview contains "8,00"
preview contains "3,15"
preview contains "17.02.24"
preview pdf "kartica"
preview close
window " KARTICA IZDELKA"
expect ?Seznam text "M N Prevzem blaga|7|17.02.2024|kg|10,000|1,8000||||1|1"
expect ?DOK:PREVZEL text "Ana"
press ?Zapri
idle
)");
    // Each line: number, date, unit of measure, then the purchase quantity, price and value, and
    // the issue quantity, sale price, release price and value; zeros blank.
    EXPECT_EQ(printed.after("17.02.24", 8),
              (std::vector<std::string>{"kg", "10,000", "1,80", "18,00", "", "", "", ""}));
    EXPECT_EQ(printed.after("27.02.24", 8),
              (std::vector<std::string>{"kg", "", "", "", "4,000", "3,15", "2,00", "8,00"}));
    EXPECT_EQ(printed.after("Skupaj promet :", 4),
              (std::vector<std::string>{"10,000", "18,00", "4,000", "8,00"}));
    EXPECT_EQ(printed.after("Z A L O G A :", 1), (std::vector<std::string>{"6,000"}));
    EXPECT_EQ(printed.after("V R E D N O S T :", 1), (std::vector<std::string>{"10,00"}));
}

TEST_F(ItemCardScript, AnItemWithoutMovementsHasAnEmptyCardAndPrintout) {
    run(R"(start PraznaKartica
expect ?Seznam rows 0
expect ?LOC:NABAVASKUPAJ text "0,000"
expect ?LOC:KOLICINASALDO text "0,000"
expect ?DOK:PREVZEL text ""
press ?Tiskaj
message-contains "Report is empty!"
answer OK
press ?Zapri
idle
)");
}

}  // namespace
}  // namespace dv::test
