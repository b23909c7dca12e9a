#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <vector>

#include "StocktakeFixture.h"
#include "runtime/PageQueue.h"

namespace dv {
namespace {

// The count sheet of stocktake 7 of unit 1: items of three groups (group 3 has no name in the
// code list), with book stock positive, zero and negative.
class CountSheetScript : public test::StocktakeFixture {
  protected:
    CountSheetScript() {
        addUnit(1, "Trgovina Center", "M");
        addGroup(4, "Pekovski izdelki");
        addGroup(5, "Sadje");
        addStocktake(7, 1, "M", kToday);
        line("3830001", "Mleko", 3, "12.5", "1.2", "2.35");
        line("3830002", "Kruh", 4, "0", "0.5", "1");
        line("3830003", "Jogurt", 3, "-2", "0.3333", "0.6667");
        line("3830004", "Banane", 5, "4", "1.1", "1.5");
        addRow("INVENDET", [] {  // another stocktake's line is never printed
            INVENDET.StevInventure = 8;
            INVENDET.Enota = 1;
            INVENDET.VrstaProdaje = "M";
            INVENDET.EAN = "3830005";
            INVENDET.Naziv = "Tuja vrstica";
        });
    }

    void line(const std::string& ean, const std::string& name, int group,
              const std::string& stock, const std::string& wholesale, const std::string& retail) {
        addRow("INVENDET", [&] {
            INVENDET.StevInventure = 7;
            INVENDET.Enota = 1;
            INVENDET.VrstaProdaje = "M";
            INVENDET.EAN = ean;
            INVENDET.Naziv = name;
            INVENDET.Skupina = static_cast<std::uint16_t>(group);
            INVENDET.RacZaloga = *Decimal::parse(stock);
            INVENDET.VPCENA = *Decimal::parse(wholesale);
            INVENDET.MPCENA = *Decimal::parse(retail);
        });
    }

    // The detail lines of the last preview: the texts printed on the line of each item code,
    // left to right, joined by "|" (fields printed blank left out).
    std::vector<std::string> detailLines() const {
        std::vector<std::string> lines;
        const PageQueue* pages = frontEnd.lastPreview();
        if (pages == nullptr) return lines;
        for (const Page& page : pages->pages) {
            std::map<PageLength, std::vector<const PageText*>> rows;
            for (const PageText& text : page.texts) rows[text.y].push_back(&text);
            for (auto& [y, texts] : rows) {
                const bool detail = std::any_of(texts.begin(), texts.end(), [](const PageText* t) {
                    return t->name == "INVENDET:EAN";
                });
                if (!detail) continue;
                std::sort(texts.begin(), texts.end(),
                          [](const PageText* a, const PageText* b) { return a->x < b->x; });
                std::string joined;
                for (const PageText* text : texts) {
                    if (text->text.empty()) continue;
                    if (!joined.empty()) joined += "|";
                    joined += text->text;
                }
                lines.push_back(joined);
            }
        }
        return lines;
    }

    static std::string openConditions() {
        return "start EvidencaInventur\npress \"   IZPIS PREDLOGE\"\n"
               "window \"  DOLOČITEV POGOJEV ZA IZPIS INVENTURNE PREDLOGE\"\n";
    }
};

// Without prices and stock the counters see only code, name and group, and the writing space.
TEST_F(CountSheetScript, WithoutPricesAndStockOnlyCodeNameAndGroupPrint) {
    run(openConditions() + R"(expect ?GLO:NAZIVIZPISA text "PREDLOGA INVENTURE ŠT. 7  Z DNE 15.3.2024"
press "  Izpis zaloge"
press " Po EAN"
press ?Tiskaj
preview contains "PREDLOGA INVENTURE ŠT. 7  Z DNE 15.3.2024"
preview contains "Trgovina Center"
preview contains "Stran:"
preview contains "1 od 1"
preview contains "Razvrščanje: Po EAN kodi"
preview contains "Od skupine izdelkov: 0 do skupine izdelkov: 0"
preview close
)");
    EXPECT_EQ(detailLines(), (std::vector<std::string>{
                                 "3830001|Mleko|3|. . . . . . . . . . .",
                                 "3830002|Kruh|4|Pekovski izdelki|. . . . . . . . . . .",
                                 "3830003|Jogurt|3|. . . . . . . . . . .",
                                 "3830004|Banane|5|Sadje|. . . . . . . . . . .",
                             }));
}

// Prices and stock, by name; "Samo izdelki z zalogo" leaves out exactly the line with book
// stock 0 and keeps the negative one; the choices stay set for the next printout.
TEST_F(CountSheetScript, OnlyItemsWithStockLeavesOutZeroAndKeepsNegativeStock) {
    run(openConditions() + R"(press "  Izpis cen"
press " Samo izdelki z zalogo"
press " Po nazivu"
press ?Tiskaj
preview contains "Razvrščanje: Po nazivu"
preview close
)");
    EXPECT_EQ(detailLines(), (std::vector<std::string>{
                                 "3830004|Banane|5|Sadje|1,5000|4,000|. . . . . . . . . . .",
                                 "3830003|Jogurt|3|0,6667|-2,000|. . . . . . . . . . .",
                                 "3830001|Mleko|3|2,3500|12,500|. . . . . . . . . . .",
                             }));
    EXPECT_EQ(GLO.CHECKBOX3, 1);
    EXPECT_EQ(GLO.CHECKBOX1, 1);
    EXPECT_EQ(GLO.SORT, 1);
}

// A typed group that is not in the list of groups opens the list, and the group chosen there
// takes the typed one's place with its name.
TEST_F(CountSheetScript, ATypedGroupNotInTheListIsChosenFromIt) {
    run(openConditions() + R"(type ?GLO:OdSkupine "7"
window "SKUPINE in PODSKUPINE"
expect ?Seznam cell 2 2 "Sadje"
row ?Seznam 2
press ?Izberi
window "  DOLOČITEV POGOJEV ZA IZPIS INVENTURNE PREDLOGE"
expect ?GLO:OdSkupine text "5"
expect ?NazivOdSkupine text "Sadje"
type ?GLO:DoSkupine "4"
expect ?NazivDoSkupine text "Pekovski izdelki"
press ?Preklici
)");
}

// By group and name with both bounds the range holds; with only the upper bound order 2 prints
// every group while order 1 prints groups up to it; a name range narrows as well.
TEST_F(CountSheetScript, GroupAndNameConditionsFollowTheOrder) {
    run(openConditions() + R"(press " Po skupini / nazivu"
type ?GLO:OdSkupine "4"
type ?GLO:DoSkupine "5"
expect ?NazivOdSkupine text "Pekovski izdelki"
expect ?NazivDoSkupine text "Sadje"
press ?Tiskaj
preview contains "Razvrščanje: Po skupini¸/ nazivu izdelkov"
preview contains "Od skupine izdelkov: 4 do skupine izdelkov: 5"
preview close
)");
    auto codes = [this] {
        std::vector<std::string> result;
        for (const std::string& line : detailLines()) result.push_back(line.substr(0, 7));
        return result;
    };
    EXPECT_EQ(codes(), (std::vector<std::string>{"3830002", "3830004"}));
    // Group 3 is not in the list of groups: the list opens, and closing it keeps the code.
    run(openConditions() + R"(type ?GLO:OdSkupine ""
type ?GLO:DoSkupine "3"
window "SKUPINE in PODSKUPINE"
press ?Zapri
window "  DOLOČITEV POGOJEV ZA IZPIS INVENTURNE PREDLOGE"
expect ?GLO:DoSkupine text "3"
expect ?NazivDoSkupine text ""
press ?Tiskaj
preview close
)");
    EXPECT_EQ(codes(), (std::vector<std::string>{"3830003", "3830001", "3830002", "3830004"}));
    run(openConditions() + R"(press " Po nazivu"
press ?Tiskaj
preview close
)");
    EXPECT_EQ(codes(), (std::vector<std::string>{"3830003", "3830001"}));
    run(openConditions() + R"(type ?GLO:DoSkupine ""
type ?GLO:OdNaziva "Jogurt"
type ?GLO:DoNaziva "Kruh"
press ?Tiskaj
preview contains "Od naziva: Jogurt do naziva: Kruh"
preview close
)");
    EXPECT_EQ(codes(), (std::vector<std::string>{"3830003", "3830002"}));
}

}  // namespace
}  // namespace dv
