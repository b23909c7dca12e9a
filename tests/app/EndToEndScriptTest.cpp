#include <fstream>
#include <string>

#include "data/IniFile.h"
#include "support/DemoStocktake.h"
#include "support/TestEngine.h"

namespace dv::test {
namespace {

// The stocktake of the demo company (support/DemoStocktake.h) as a UI script of the headless
// front end.
class EndToEnd : public DemoStocktakeTest {
  protected:
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
message-contains "Ali so izpolnjeni pogoji za nadaljevanje ?"
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
};

TEST_F(EndToEnd, AStocktakeOfTheDemoCompanyFromOpeningToPostedDocuments) {
    std::ofstream(program / "konec.script") << script();
    const ProgramRun run = runProgram(program, "script konec.script");
    ASSERT_EQ(run.status, 0) << run.output;
    checkOutcome();
}

// The demo company copied to a server (copy-to), its embedded databases moved away and its
// settings pointed at the server: the same path leaves the same stock, documents, archive and
// printouts there as on the embedded database.
TEST_F(EndToEnd, TheSameStocktakeOnAServerAfterCopyToLeavesTheSameOutcome) {
    const std::string server = testServerConnection();
    ASSERT_FALSE(server.empty());
    const ProgramRun copied = runProgram(program, "copy-to '" + server + "'");
    ASSERT_EQ(copied.status, 0) << copied.output;
    EXPECT_NE(copied.output.find("ARTIKLI: 400 vrstic"), std::string::npos) << copied.output;
    for (const std::filesystem::path& directory : {program, program.parent_path()})
        for (const char* file : {"dideroviv.db", "dideroviv.db-wal", "dideroviv.db-shm"})
            if (std::filesystem::exists(directory / file))
                std::filesystem::rename(directory / file,
                                        directory / (std::string(file) + ".prej"));
    IniFile settings;
    ASSERT_TRUE(settings.load(program / "ZALTO.INI").ok());
    ASSERT_TRUE(settings.write("BAZA", "Povezava", server).ok());
    ASSERT_TRUE(settings.save(program / "ZALTO.INI").ok());

    // As if the server's ICU had changed since the copy: the keys over names are rebuilt at
    // start and the main frame says so after its first reminder.
    runOnServer("UPDATE d1.\"_META\" SET \"VALUE\" = '0.1' WHERE \"NAME\" = 'collation'");
    std::string path = script();
    const std::string first = "answer OK\n";
    path.insert(path.find(first) + first.size(),
                "message-contains \"vrstnega reda na strežniku zbirke podatkov so se "
                "spremenila (različica 0.1\"\nanswer OK\n");
    std::ofstream(program / "konec.script") << path;
    const ProgramRun run = runProgram(program, "script konec.script");
    ASSERT_EQ(run.status, 0) << run.output;
    EXPECT_FALSE(std::filesystem::exists(program / "dideroviv.db"))
        << "nothing on the embedded database";
    checkOutcome();
}

}  // namespace
}  // namespace dv::test
