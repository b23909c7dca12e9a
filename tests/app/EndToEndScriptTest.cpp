#include <set>
#include <sstream>

#include "DemoTestSupport.h"
#include "runtime/Decimal.h"
#include "schema/Records.h"

namespace dv::test {
namespace {

namespace fs = std::filesystem;

// A whole stocktake on the demo company as a user takes it, through the program's own menus and
// windows: stocktake 1 of the first shop is opened and its template prepared, the count sheet
// printed, two items counted by hand (one short, one over), the terminal's capture file of the
// shop imported, the differences printed, the differences posted, then both documents and the
// stock report printed, every printout saved as PDF.
class EndToEnd : public ::testing::Test {
  protected:
    struct Counted {
        std::string code;
        Decimal book;
        Decimal counted;
    };

    void SetUp() override {
        // A small catalogue keeps the printouts short; the path is the same.
        ASSERT_EQ(runProgram(program, "demo --items 400").status, 0);
        chooseHandCounts();
    }

    // Two stock rows of the first shop that the terminal's capture leaves for counting by hand.
    void chooseHandCounts() {
        const std::string capture = fileBytes(program / "terminal" / "INVASCII.txt");
        CompanyData data(program);
        data.forEach("ZALOGA", [&] {
            if (ZALOGA.ENOTA != 1 || counts.size() == 2 || ZALOGA.ZALOGA < Decimal(3)) return;
            const std::string code = ZALOGA.EAN.str();
            if (capture.find("\n" + code + ";") != std::string::npos) return;
            // The first is counted two short, the second three over.
            counts.push_back({code, ZALOGA.ZALOGA,
                              ZALOGA.ZALOGA + Decimal(counts.empty() ? -2 : 3)});
        });
        ASSERT_EQ(counts.size(), 2u);
    }

    // The counts of the capture file by code: the first scan of an uncounted line sets its count,
    // later scans add to it.
    static std::map<std::string, Decimal> captured(const std::string& capture) {
        std::map<std::string, Decimal> sums;
        std::istringstream in(capture);
        for (std::string line; std::getline(in, line);) {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            const std::size_t semicolon = line.find(';');
            if (line.empty() || line[0] < '0' || line[0] > '9' || semicolon == std::string::npos)
                continue;
            std::string quantity = line.substr(semicolon + 1);
            for (char& c : quantity)
                if (c == ',') c = '.';
            sums[line.substr(0, semicolon)] += *Decimal::parse(quantity);
        }
        return sums;
    }

    std::string countByHand() const {
        std::string script;
        for (const Counted& count : counts)
            script += "type ?LokatorKoda \"" + count.code + "\" Enter\nkey Enter\n" +
                      "window \"Spreminjanje zapisa\"\ntype ?INVENDET:PopisanaZaloga \"" +
                      count.counted.toString(0) + "\" Enter\n" +
                      "window \" INVENTURNI POPIS ZA INVENTURO ŠT. 1\"\n";
        return script;
    }

    std::string script() const {
        return std::string(R"s(start Main
message-contains "KOPIJ PODATKOV"
answer OK
message-contains "KOPIJ PODATKOV"
answer OK
window "    DIDEROVIV "
menu "&DIDEROVIV" "1. Evidenca inventur, priprava podatkov in izpis predloge"
window "  EVIDENCA OPRAVLJENIH INVENTUR"
press "&Dodaj"
window "Dodajanje zapisa"
focus ?INVENTUR:Enota
window " SKLADIŠČA BLAGA - IZDELKOV"
press "&Izberi"
window "Dodajanje zapisa"
type ?INVENTUR:PREDSEDNIK "Ana Kovač"
press ?OK
window "  EVIDENCA OPRAVLJENIH INVENTUR"
press " PRIPRAVA PREDLOGE"
message-contains "samo na enem računalniku"
answer Yes
idle
window "  EVIDENCA OPRAVLJENIH INVENTUR"
press "   IZPIS PREDLOGE"
window "  DOLOČITEV POGOJEV ZA IZPIS INVENTURNE PREDLOGE"
press ?Tiskaj
preview contains "PREDLOGA INVENTURE ŠT. 1"
preview pdf "predloga.pdf"
preview close
window "  EVIDENCA OPRAVLJENIH INVENTUR"
press " ZAPRI"
window "    DIDEROVIV "
menu "&DIDEROVIV" "2. Vnos inventurnega popisa"
window "  EVIDENCA OPRAVLJENIH INVENTUR"
press "  &IZBERI INVENTURO ZA VNOS POPISA"
window " INVENTURNI POPIS ZA INVENTURO ŠT. 1"
)s") + countByHand() +
               R"s(press " ZAPRI"
window "    DIDEROVIV "
menu "&Zajem s terminalov - zajem ASCII" "2. Obdelava ASCII datoteke zajema"
window " KNJIŽENJE ASCII DATOTEKE S TERMINALA ali ROČNI ZAJEM"
type ?GLO:DIDEROVIV "1"
focus ?Knjizenje
expect ?GLO:ENOTAINV text "1"
press ?Knjizenje
idle
window "    DIDEROVIV "
menu "&DIDEROVIV" "3. Izpis inventurnih razlik"
window "  EVIDENCA OPRAVLJENIH INVENTUR"
press " IZPIS INVENTURNIH RAZLIK   [F5]"
window "  DOLOČITEV POGOJEV ZA IZPIS INVENTURNIH RAZLIK"
press ?Tiskaj
preview contains ")s" +
               counts[0].code + R"s("
preview pdf "razlike.pdf"
preview close
window "  EVIDENCA OPRAVLJENIH INVENTUR"
press "ZAPRI"
window "    DIDEROVIV "
menu "&DIDEROVIV" "4. Knjiženje inventurnih razlik"
window "  EVIDENCA OPRAVLJENIH INVENTUR"
press "   KNJIŽENJE INVENTURNIH RAZLIK za izbrano inventuro"
window "  PREGLED POGOJEV ZA KNJIŽENJE INVENTURNIH RAZLIK"
press "   &KNJIŽENJE"
message-contains "je končano"
answer OK
idle
window "  EVIDENCA OPRAVLJENIH INVENTUR"
press "ZAPRI "
window "    DIDEROVIV "
menu "&DIDEROVIV" "5. Izpis dokumentov inventure (manjki in viški)"
window "  EVIDENCA OPRAVLJENIH INVENTUR"
press " DOKUMENT INV. MANJKOV"
preview contains "Predsednik"
preview contains ")s" + counts[0].code + R"s("
preview pdf "manjki.pdf"
preview close
window "  EVIDENCA OPRAVLJENIH INVENTUR"
press "  DOKUMENT INV. VIŠKOV"
preview pdf "viski.pdf"
preview close
window "  EVIDENCA OPRAVLJENIH INVENTUR"
press "ZAPRI"
window "    DIDEROVIV "
menu "&DIDEROVIV" "6. Izpis zaloge - količinsko in vrednostno"
window "  EVIDENCA OPRAVLJENIH INVENTUR"
press " DOKUMENT ZALOG PO OPRAVLJENI INVENTURI"
preview pdf "zaloga.pdf"
preview close
window "  EVIDENCA OPRAVLJENIH INVENTUR"
press "ZAPRI"
window "    DIDEROVIV "
toolbar "IZHOD"
)s";
    }

    DemoFolders folders;
    fs::path program = folders.program();
    std::vector<Counted> counts;
};

bool isPdf(const fs::path& file) {
    const std::string bytes = fileBytes(file);
    return bytes.starts_with("%PDF-") && bytes.find("%%EOF") != std::string::npos;
}

TEST_F(EndToEnd, AStocktakeOfTheDemoCompanyFromOpeningToPostedDocuments) {
    std::map<std::string, Decimal> stockBefore;
    int rowsBefore = 0;
    {
        CompanyData data(program);
        rowsBefore = data.forEach("ZALOGA", [&] {
            if (ZALOGA.ENOTA == 1) stockBefore[ZALOGA.EAN.str()] = ZALOGA.ZALOGA;
        });
    }
    const fs::path capture = program / "terminal" / "INVASCII.txt";
    const std::map<std::string, Decimal> scanned = captured(fileBytes(capture));
    ASSERT_GT(scanned.size(), 100u);
    std::ofstream(program / "konec.script") << script();
    const ProgramRun run = runProgram(program, "script konec.script");
    ASSERT_EQ(run.status, 0) << run.output;
    for (const char* pdf : {"predloga.pdf", "razlike.pdf", "manjki.pdf", "viski.pdf", "zaloga.pdf"})
        EXPECT_TRUE(isPdf(program / pdf)) << pdf;

    CompanyData data(program);
    std::map<std::string, Decimal> stockAfter;
    EXPECT_EQ(data.forEach("ZALOGA",
                           [&] {
                               if (ZALOGA.ENOTA == 1) stockAfter[ZALOGA.EAN.str()] = ZALOGA.ZALOGA;
                           }),
              rowsBefore);
    // The scanned items stand at the sum of their scans, the two counted by hand at their counts;
    // every other stock row of the shop is as the books had it (the demo's template starts each
    // count at the book quantity). The code of no item changed nothing.
    std::map<std::string, Decimal> expected = stockBefore;
    for (const auto& [code, quantity] : scanned)
        if (expected.count(code)) expected[code] = quantity;
    for (const Counted& count : counts) expected[count.code] = count.counted;
    EXPECT_EQ(stockAfter, expected);
    EXPECT_FALSE(fs::exists(capture)) << "the capture file is archived and removed";
    int archiveCopies = 0;
    for (const auto& entry : fs::directory_iterator(program / "arhiv"))
        archiveCopies += entry.path().filename().string().starts_with("ARHINV_") ? 1 : 0;
    EXPECT_EQ(archiveCopies, 1);

    int documents = 0, lines = 0;
    data.forEach("DOKUMENT", [&] { ++documents; });
    std::set<std::string> posted;
    data.forEach("DOKPROME", [&] {
        ++lines;
        posted.insert(DOKPROME.EAN.str());
    });
    EXPECT_EQ(documents, 2) << "one shortage and one surplus document";
    std::set<std::string> differing;
    for (const auto& [code, quantity] : expected)
        if (quantity != stockBefore[code]) differing.insert(code);
    EXPECT_EQ(lines, static_cast<int>(differing.size()));
    EXPECT_EQ(posted, differing);
    EXPECT_TRUE(posted.count(counts[0].code) && posted.count(counts[1].code));
    int closed = 0;
    data.forEach("INVENTUR", [&] { closed += INVENTUR.DATUMZAKLJUCKA > 0 ? 1 : 0; });
    EXPECT_EQ(closed, 1);
}

}  // namespace
}  // namespace dv::test
