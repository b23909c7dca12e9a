#include <gtest/gtest.h>

#include "CaptureImportFixture.h"
#include "app/StartUpTestSupport.h"

namespace dv {
namespace {

constexpr const char* kCaption = " KNJIŽENJE ASCII DATOTEKE S TERMINALA ali ROČNI ZAJEM";

class CaptureImportWindow : public test::CaptureImportFixture {
  protected:
    CaptureImportWindow() {
        addItem("3830001234567", "Kruh");
        addStocktake(8, 1, "M");
        addStocktake(5, 2, "V");
        addStocktake(3, 1, "M", kToday);
        writeFile(capture, "3830001234567;2\n");
    }

    static std::string shows(const std::string& number, const std::string& unit,
                             const std::string& saleType) {
        return "expect ?GLO:DIDEROVIV text \"" + number + "\"\nexpect ?GLO:ENOTAINV text \"" +
               unit + "\"\nexpect ?GLO:VRSTAINV text \"" + saleType + "\"\n";
    }
};

// A typed number is read again when the start button gets the focus, in the unit and sale type
// of the stocktake read last: the typed unit gives way, and a number that stocktake's unit
// lacks clears the three fields. "..." chooses from the stocktake selection; the start button
// imports into the stocktake shown and closes the window.
TEST_F(CaptureImportWindow, TheStocktakeIsChosenOrTypedAndReadAgainBeforeTheImport) {
    run(std::string("start OknoKnjizenjeASCII\nwindow \"") + kCaption +
        "\"\nexpect ?GLO:DANES text \"15.03.2024\"\n" + shows("7", "1", "M") +
        "type ?GLO:DIDEROVIV \"8\"\ntype ?GLO:ENOTAINV \"2\"\nfocus ?Knjizenje\n" +
        shows("8", "1", "M") +
        "type ?GLO:DIDEROVIV \"5\"\nfocus ?Knjizenje\n" + shows("0", "0", "") +
        "press ?IzberiInventuro\nwindow \"  EVIDENCA OPRAVLJENIH INVENTUR\"\nrow ?Seznam 2\n"
        "press ?IzberiInventuro\nwindow \"" + kCaption + "\"\n" + shows("5", "2", "V") +
        "focus ?Knjizenje\n" + shows("5", "2", "V") + "press ?Knjizenje\n");
    EXPECT_EQ(sql("SELECT STEVINVENTURE, ENOTA, VRSTAPRODAJE, EAN, POPISANAZALOGA FROM INVENDET"),
              "5|2|V|3830001234567|2000");
    EXPECT_EQ(sql("SELECT STEVINVENTURE, ENOTA, VRSTAPRODAJE, KOLICINA FROM INVTPS"), "5|2|V|200");
    EXPECT_EQ(archived(), std::vector<std::string>{kArchive});
    EXPECT_FALSE(std::filesystem::exists(capture));
}

TEST_F(CaptureImportWindow, PrekliciClosesTheWindowWithoutImporting) {
    run(std::string("start OknoKnjizenjeASCII\nwindow \"") + kCaption +
        "\"\npress ?Preklici\nidle\n");
    EXPECT_EQ(readFile(capture), "3830001234567;2\n");
    EXPECT_EQ(sql("SELECT COUNT(*) FROM INVTPS"), "0");
}

// The program as its user starts it: the capture file and the archive folder (written without
// a trailing separator) from its settings file, the import from the menu of the frame.
TEST(CaptureImportMenu, TheMenuItemImportsTheFileOfTheSettingsIntoTheChosenStocktake) {
    test::ProgramFolder folder;
    folder.write("ZALTO.INI",
                 test::quietSettings("[TERMINAL]\nMAPA IN IME DATOTEKE TERMINALA=zajem\\INVASCII.txt\n"
                                     "[SERVISNE]\nPot arhiva ASCII=arhiv\n"));
    folder.write("BACKUP.INI", test::recentBackup());
    std::filesystem::create_directories(folder.program() / "zajem");
    std::filesystem::create_directories(folder.program() / "arhiv");
    folder.write("zajem/INVASCII.txt", "\"3830001234567\";\"2,5\"\r\n");
    {
        SettingsManager settings;
        (void)resolveTableFileNames(settings, folder.program());
        ErrorReporter errors;
        TableAccess tables(&errors);
        test::addRawRow(tables, "ARTIKLI", [] { ARTIKLI.EAN = "3830001234567"; });
        test::addRawRow(tables, "INVENTUR", [] {
            INVENTUR.StevInventure = 4;
            INVENTUR.Enota = 1;
            INVENTUR.VRSTAPRODAJE = "M";
        });
        test::addRawRow(tables, "INVENDET", [] {
            INVENDET.StevInventure = 4;
            INVENDET.Enota = 1;
            INVENDET.VrstaProdaje = "M";
            INVENDET.EAN = "3830001234567";
        });
        resetTableFileNames();
    }
    const test::ProgramRun run = folder.script(std::string(R"(start Main
window "    DIDEROVIV "
menu "&Zajem s terminalov - zajem ASCII" "2. Obdelava ASCII datoteke zajema"
window ")") + kCaption + R"("
press ?IzberiInventuro
window "  EVIDENCA OPRAVLJENIH INVENTUR"
press ?IzberiInventuro
expect ?GLO:DIDEROVIV text "4"
press ?Knjizenje
window "    DIDEROVIV "
sql "SELECT EAN, POPISANAZALOGA, NAREJENVNOS FROM INVENDET" "3830001234567|2500|1"
sql "SELECT EANKODA, KOLICINA, USPESNOKNJIZENJE FROM INVTPS" "3830001234567|250|1"
menu "Datoteka" "Izhod"
)");
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_FALSE(std::filesystem::exists(folder.program() / "zajem" / "INVASCII.txt"));
    EXPECT_TRUE(std::filesystem::exists(folder.program() / "arhiv" / "ARHINV_240315_1000"));
}

}  // namespace
}  // namespace dv
