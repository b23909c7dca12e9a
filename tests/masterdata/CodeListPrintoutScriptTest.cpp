#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "CodeListData.h"
#include "frontend/PdfTestSupport.h"
#include "schema/Records.h"

namespace dv {
namespace {

using Words = std::vector<std::string>;

// The words of a line of printed text.
Words words(const std::string& line) {
    Words found;
    std::istringstream in(line);
    for (std::string word; in >> word;) found.push_back(word);
    return found;
}

// The words of the one line of `text` that holds `wanted`; fails the test when there is not
// exactly one.
Words wordsOfLineWith(const std::string& text, std::string_view wanted) {
    std::vector<Words> found;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        if (line.find(wanted) != std::string::npos) found.push_back(words(line));
    EXPECT_EQ(found.size(), 1u) << "lines with \"" << wanted << "\" in:\n" << text;
    return found.size() == 1 ? found[0] : Words{};
}

// What the program printed, without the notes of its surroundings: Qt's page export on a test
// machine without a desktop session, and the sanitizer's list of the leaks it was told to
// ignore (Qt's font cache), printed at exit in the sanitized build.
std::string withoutSurroundingsNotes(const std::string& output) {
    std::vector<std::string> lines;
    std::istringstream in(output);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    auto isRule = [](const std::string& line) {
        return !line.empty() && line.find_first_not_of('-') == std::string::npos;
    };
    std::string kept;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (isRule(lines[i]) && i + 1 < lines.size() && lines[i + 1] == "Suppressions used:") {
            for (++i; i < lines.size() && !isRule(lines[i]);) ++i;
            continue;
        }
        if (!lines[i].empty() && !lines[i].starts_with("QStandardPaths:")) kept += lines[i] + "\n";
    }
    return kept;
}

// The print options and printouts of the warehouse units and the transaction types, driven
// through the program's command line on tables prepared beforehand.
class CodeListPrintoutScript : public ::testing::Test {
  protected:
    std::filesystem::path pdf() const { return data.path() / "izpis.pdf"; }
    // The script line that saves the open preview as pdf().
    std::string savePdf() const { return "preview pdf \"" + pdf().string() + "\"\n"; }

    // Runs the script; the test fails with the program's report when it did not hold.
    void run(const std::string& script) {
        const test::ProgramRun result = data.runScript(script);
        EXPECT_EQ(result.status, 0) << result.output;
        EXPECT_EQ(withoutSurroundingsNotes(result.output), "");
    }

    std::string settingsFile() const {
        std::ifstream in(data.path() / "ZALTO.INI");
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }

    test::CodeListData data;
};

// Units whose order by name differs from their order by code; Slovenian letters sort as the
// users read them ("Č" after "C", before "D").
void addUnits(test::CodeListData& tables) {
    tables.addUnit(1, "Žalec", "M");
    tables.addUnit(2, "Ankaran", "");  // no kind
    tables.addUnit(3, "Celje", "X");   // a kind the printout does not know
    tables.addUnit(4, "Čatež", "V");
    tables.addUnit(5, "Dol", "K");
    tables.addUnit(6, "Bled", "R");
}

TEST_F(CodeListPrintoutScript, UnitPrintoutTitleIsResetOnEveryOpening) {
    addUnits(data);
    run(R"(start OknoIzpisaEnote
window "  IZPIS ŠIFRANTA SKLADIŠČ BLAGA - IZDELKOV"
expect ?GLO:NAZIVIZPISA text "Šifrant skladišč blaga - izdelkov"
type ?GLO:NAZIVIZPISA "Skladišča za revizijo"
press "&Tiskaj [F5]"
preview contains "Skladišča za revizijo"
preview close
idle
start OknoIzpisaEnote
expect ?GLO:NAZIVIZPISA text "Šifrant skladišč blaga - izdelkov"
type ?GLO:NAZIVIZPISA "Drugi naslov"
press "Prekliči"
idle
start OknoIzpisaEnote
expect ?GLO:NAZIVIZPISA text "Šifrant skladišč blaga - izdelkov"
press "Prekliči"
idle
)");
}

TEST_F(CodeListPrintoutScript, UnitsByNamePrintKindsAsTextAndBlankForUnknownKinds) {
    addUnits(data);
    run(R"(start OknoIzpisaEnote
press " Po nazivu"
press ?Tiskaj
preview pages 1
preview contains "15.03.2024"
preview contains "1 od 1"
preview contains "Razvrščanje: Po nazivu"
)" + savePdf() +
        R"(preview close
idle
)");
    const std::string text = test::pdfText(pdf());
    const std::vector<std::string> order{"Ankaran", "Bled", "Celje", "Čatež", "Dol", "Žalec"};
    for (std::size_t i = 1; i < order.size(); ++i)
        EXPECT_LT(text.find(order[i - 1]), text.find(order[i])) << text;
    EXPECT_EQ(wordsOfLineWith(text, "Žalec"), (Words{"1", "Žalec", "Maloprodajno"}));
    EXPECT_EQ(wordsOfLineWith(text, "Čatež"), (Words{"4", "Čatež", "Veleprodajno"}));
    EXPECT_EQ(wordsOfLineWith(text, "Bled"), (Words{"6", "Bled", "Repro", "materijal"}));
    EXPECT_EQ(wordsOfLineWith(text, "Dol"), (Words{"5", "Dol", "Konsignacija"}));
    // Nothing after the name where the kind is blank or unknown.
    EXPECT_EQ(wordsOfLineWith(text, "Ankaran"), (Words{"2", "Ankaran"}));
    EXPECT_EQ(wordsOfLineWith(text, "Celje"), (Words{"3", "Celje"}));
    // The printout's options are kept under its name.
    EXPECT_NE(settingsFile().find("[IzpisSifrantEnote]"), std::string::npos) << settingsFile();
}

TEST_F(CodeListPrintoutScript, UnitsByCodeFromTheF5KeySayTheirOrderAtTheEnd) {
    addUnits(data);
    run(R"(start OknoIzpisaEnote
press " Po šifri"
key F5
preview contains "Razvrščanje: Po šifri"
)" + savePdf() +
        R"(preview close
idle
start OknoIzpisaEnote
key F5
preview contains "Razvrščanje: Po šifri"
preview close
idle
)");
    const std::string text = test::pdfText(pdf());
    const std::vector<std::string> order{"Žalec", "Ankaran", "Celje", "Čatež", "Dol", "Bled"};
    for (std::size_t i = 1; i < order.size(); ++i)
        EXPECT_LT(text.find(order[i - 1]), text.find(order[i])) << text;
    EXPECT_EQ(text.find("Po nazivu"), std::string::npos) << text;
    EXPECT_EQ(wordsOfLineWith(text, "Ankaran"), (Words{"2", "Ankaran"}));
    EXPECT_EQ(wordsOfLineWith(text, "Žalec"), (Words{"1", "Žalec", "Maloprodajno"}));
}

TEST_F(CodeListPrintoutScript, AnEmptyUnitTableGivesTheEmptyNotice) {
    run(R"(start OknoIzpisaEnote
press ?Tiskaj
message-contains "Report is empty!"
answer OK
idle
)");
}

void addTypes(test::CodeListData& tables) {
    tables.addType({"M", "N", 1, "Prevzem blaga", "PREVZEM", "+", 0, 0});
    tables.addType({"M", "Z", 1, "Neznana oznaka", "NEZNANO", "0", 0, 0});
    tables.addType({"V", "F", 2, "Račun kupcu", "RAČUN", "-", 1, 1});  // locked, hidden
    tables.addType({"V", "P", 3, "Ponudba kupcu", "PONUDBA", "0", 0, 0});
}

TEST_F(CodeListPrintoutScript, TransactionTypesPrintEveryTypeWithItsKindsAsText) {
    addTypes(data);
    run(R"(start OknoIzpisaVrstaPrometa
window "  IZPIS ŠIFRANTA VRSTE PROMETA"
expect ?GLO:NAZIVIZPISA text "Šifrant vrste prometa"
press ?Tiskaj
preview contains "Šifrant vrste prometa"
preview contains "15.03.2024"
)" + savePdf() +
        R"(preview close
idle
)");
    const std::string text = test::pdfText(pdf());
    // Hidden from the list, still printed, with its stock effect and lock.
    EXPECT_EQ(wordsOfLineWith(text, "Račun kupcu"), (Words{"Prodaja", "na", "debelo", "Račun", "2",
                                                           "Račun", "kupcu", "RAČUN", "-", "1"}));
    EXPECT_EQ(
        wordsOfLineWith(text, "Prevzem blaga"),
        (Words{"Prodaja", "na", "drobno", "Nabava", "1", "Prevzem", "blaga", "PREVZEM", "+", "0"}));
    EXPECT_EQ(wordsOfLineWith(text, "Ponudba kupcu"),
              (Words{"Prodaja", "na", "debelo", "Predračun", "-", "ponudba", "3", "Ponudba",
                     "kupcu", "PONUDBA", "0", "0"}));
    // A mark outside the nine prints no kind, never the kind of the line before it.
    EXPECT_EQ(wordsOfLineWith(text, "Neznana oznaka"),
              (Words{"Prodaja", "na", "drobno", "1", "Neznana", "oznaka", "NEZNANO", "0", "0"}));
    EXPECT_NE(settingsFile().find("[IzpisSifrantVrstaPrometa]"), std::string::npos);
}

TEST_F(CodeListPrintoutScript, TransactionTypePrintoutTitleIsResetOnEveryOpening) {
    addTypes(data);
    run(R"(start OknoIzpisaVrstaPrometa
type ?GLO:NAZIVIZPISA "Vrste prometa 2024"
key F5
preview contains "Vrste prometa 2024"
preview close
idle
start OknoIzpisaVrstaPrometa
expect ?GLO:NAZIVIZPISA text "Šifrant vrste prometa"
press "Prekliči"
idle
)");
}

void addGroups(test::CodeListData& tables) {
    tables.addGroup(1, "Pijače");
    tables.addGroup(2, "Čistila");
    tables.addGroup(3, "Hrana");  // no subgroups
    tables.addSubgroup(1, 2, "Vode");
    tables.addSubgroup(1, 1, "Sokovi");
    tables.addSubgroup(2, 1, "Praški");
    tables.addSubgroup(7, 1, "Sirota");  // its group does not exist
}

// The lines of `text` from the one holding `first` to the one before the one holding `end`.
std::vector<Words> linesBetween(const std::string& text, std::string_view first,
                                std::string_view end) {
    std::vector<Words> found;
    std::istringstream in(text);
    bool inside = false;
    for (std::string line; std::getline(in, line);) {
        if (line.find(first) != std::string::npos) inside = true;
        if (line.find(end) != std::string::npos) break;
        if (inside && !words(line).empty()) found.push_back(words(line));
    }
    return found;
}

TEST_F(CodeListPrintoutScript, GroupsWithSubgroupsByNamePrintEachGroupsSubgroupsAfterIt) {
    addGroups(data);
    run(R"(start OknoIzpisaGrup
window "  IZPIS ŠIFRANTA SKUPIN IN PODSKUPIN"
expect ?GLO:NAZIVIZPISA text "Šifrant skupin in podskupin"
press " Skupine in podskupine"
press " Po nazivu"
press ?Tiskaj
preview contains "Skupine izdelkov s podskupinami"
preview contains "Razvrščanje: Po nazivu"
)" + savePdf() +
        R"(preview close
idle
)");
    const std::string text = test::pdfText(pdf());
    // A group without subgroups prints only its own line; the subgroup of no group never.
    EXPECT_EQ(linesBetween(text, "Čistila", "Nastavitev izpisa"),
              (std::vector<Words>{{"2", "Čistila"},
                                  {"1", "Praški"},
                                  {"3", "Hrana"},
                                  {"1", "Pijače"},
                                  {"1", "Sokovi"},
                                  {"2", "Vode"}}))
        << text;
    EXPECT_EQ(text.find("Sirota"), std::string::npos);
    EXPECT_NE(settingsFile().find("[IzpisSifrantGrup]"), std::string::npos);
}

TEST_F(CodeListPrintoutScript, GroupsAloneByCodeAndTheTitleResetOnOpening) {
    addGroups(data);
    run(R"(start OknoIzpisaGrup
press " Samo skupine"
press " Po šifri"
type ?GLO:NAZIVIZPISA "Skupine 2024"
key F5
preview contains "Skupine 2024"
preview contains "Samo skupine izdelkov"
preview contains "Razvrščanje: Po šifri"
)" + savePdf() +
        R"(preview close
idle
start OknoIzpisaGrup
expect ?GLO:NAZIVIZPISA text "Šifrant skupin in podskupin"
press "Prekliči"
idle
)");
    const std::string text = test::pdfText(pdf());
    EXPECT_EQ(linesBetween(text, "Pijače", "Nastavitev izpisa"),
              (std::vector<Words>{{"1", "Pijače"}, {"2", "Čistila"}, {"3", "Hrana"}}))
        << text;
}

// One row in each of the four further code lists; each printout previewed with its title.
TEST_F(CodeListPrintoutScript, TheFurtherCodeListsPrintTheirTitlesAndRows) {
    data.add("SFDRZAVE", [] {
        SFDrz.OznakaDrzave = "AT";
        SFDrz.NazivDrzave = "Avstrija";
    });
    data.add("SFPTT", [] {
        SFPTT.OZNAKADRZAVE = "SI";
        SFPTT.PostnaStevilka = "3000";
        SFPTT.NazivPoste = "Celje";
    });
    data.add("SFDDV", [] {
        SFDDV.SifraDDV = 2;
        SFDDV.STOPNJADDV = *Decimal::parse("9.5");
        SFDDV.KONTOVHODNEGADAVKA = 160100;
    });
    data.add("SFPRODAJ", [] {
        SFPRODAJ.Sifra = 4;
        SFPRODAJ.Ime = "Mojca Referent";
        SFPRODAJ.E_NASLOV = "mojca@firma.si";
    });
    run(R"(start OknoIzpisaDrzave
press ?Tiskaj
preview contains "Šifrant držav"
preview contains "Avstrija"
preview close
idle
start OknoIzpisaPost
press ?Tiskaj
preview contains "Šifrant pošt"
preview contains "Celje"
preview close
idle
start OknoIzpisaDdv
press ?Tiskaj
preview contains "Šifrant davčnih stopenj"
preview contains "160100"
preview close
idle
start OknoIzpisaReferentov
press ?Tiskaj
preview contains "Šifrant referentov / prodajalcev"
preview contains "mojca@firma.si"
preview close
idle
)");
}

// The partners within the chosen ranges and of the chosen VAT status, by name the Slovenian way,
// each with its address and its contacts on a line of their own.
TEST_F(CodeListPrintoutScript, PartnersPrintWithinTheirRangesAndStatus) {
    auto partner = [&](std::uint32_t code, const char* name, const char* post, const char* vat) {
        data.add("SFPARTN", [&] {
            SFPARTN.Sifra = code;
            SFPARTN.Naziv = name;
            SFPARTN.Naslov = "Glavna cesta 1";
            SFPARTN.POSTNASTEVILKA = post;
            SFPARTN.KRAJ = "Kraj";
            SFPARTN.DDV = vat;
            SFPARTN.TELEFON = "01 234";
            SFPARTN.ODGOVORNAOSEBA = "Ana";
        });
    };
    partner(1, "Žaga Les", "3000", "D");
    partner(2, "Čevljar Kos", "1000", "D");
    partner(3, "Cvetličarna Roža", "2000", "N");
    partner(4, "Dimnikar", "1000", "D");
    partner(5, "Bela Hiša", "1000", "D");
    run(R"(start OknoIzpisaPartnerji
window "  IZPIS ŠIFRANTA POSLOVNIH PARTNERJEV"
expect ?GLO:NAZIVIZPISA text "Šifrant poslovnih partnerjev"
type ?GLO:ODSIFRE "2"
type ?GLO:OdNaziva "C"
type ?GLO:DoNaziva "D"
press " Davčni zavezanci"
press ?Tiskaj
preview contains "Šifrant poslovnih partnerjev"
preview contains "Razvrščanje: Po nazivu"
preview contains "1000  Kraj"
)" + savePdf() +
        R"(preview close
idle
)");
    const std::string text = test::pdfText(pdf());
    // Cvetličarna is no VAT payer, Bela Hiša before C, Žaga Les outside the codes.
    EXPECT_EQ(text.find("Cvetličarna"), std::string::npos) << text;
    EXPECT_EQ(text.find("Bela"), std::string::npos) << text;
    EXPECT_EQ(text.find("Žaga"), std::string::npos) << text;
    EXPECT_LT(text.find("Čevljar Kos"), text.find("Dimnikar")) << text;
    EXPECT_EQ(wordsOfLineWith(text, "Čevljar"), (Words{"2", "Čevljar", "Kos"}));
    EXPECT_NE(text.find("tel.: 01 234 odgovorna oseba: Ana"), std::string::npos) << text;
}

TEST_F(CodeListPrintoutScript, TheAddressOfTheHighlightedPartnerPrintsOnA4) {
    for (std::uint32_t code : {1u, 2u})
        data.add("SFPARTN", [&] {
            SFPARTN.Sifra = code;
            SFPARTN.Naziv = code == 1 ? "Prvi Partner" : "Drugi Partner";
            SFPARTN.Naslov = "Cesta 9";
            SFPARTN.POSTNASTEVILKA = "3000";
            SFPARTN.KRAJ = "Celje";
        });
    run(R"(start BrowseSFPARTN
row ?Seznam 2
expect ?Seznam cell 2 1 "Prvi Partner"
press "NASLOVI   na A4"
preview pages 1
preview contains "Prvi Partner"
preview contains "3000  Celje"
)" + savePdf() +
        R"(preview close
idle
press ?Zapri
idle
)");
    EXPECT_EQ(test::pdfText(pdf()).find("Drugi"), std::string::npos);
}

}  // namespace
}  // namespace dv
