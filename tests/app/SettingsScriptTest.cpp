#include "SettingsTestSupport.h"
#include "StartUpTestSupport.h"

namespace dv {
namespace {

// The settings windows as the user reaches them: the program started in its folder, the settings
// read by the main frame, the windows chosen from its menu. The retail shortage type 35 of the
// settings no longer exists; the one chosen instead from the list is written on confirmation.
TEST(SettingsScript, TheSettingsWindowsReadAndWriteTheProgramsSettingsFile) {
    test::ProgramFolder folder;
    folder.write("ZALTO.INI", test::quietSettings("[SERVISNE]\nSkladišče ZN=4\n"));
    folder.write("BACKUP.INI", test::recentBackup());
    {
        SettingsManager settings;
        (void)resolveTableFileNames(settings, folder.program());
        ErrorReporter errors;
        TableAccess tables(&errors);
        test::addType(tables, "V", "I", 35, "Inventurni manjko VP");
        test::addType(tables, "M", "I", 36, "Inventurni manjko MP");
        resetTableFileNames();
    }
    const test::ProgramRun run = folder.script(R"(start Main
window "    DIDEROVIV "
menu "&Datoteka" "Parametri inventure"
window " PARAMETRI ZA IZVAJANJE INVENTURE"
expect ?GLO:SIFRALASTNIKAPROGRAMA text "100"
expect ?LOC:VPMANJKOVP text "Inventurni manjko VP"
expect ?GLO:VRSTAPROMETAINVMANJKOMP text "35"
expect ?LOC:VPMANJKOMP text ""
press ?IzberiManjkoMP
window "  VRSTE PROMETA"
row ?Seznam 1
press ?Izberi
expect ?LOC:VPMANJKOMP text "Inventurni manjko MP"
press ?Potrdi
window "    DIDEROVIV "
menu "&Datoteka" "OSTALE NASTAVITVE - preveri !"
window "DRUGE Nastavitve programa"
expect ?GLO:ENOTAZAC text "4"
type ?GLO:POTARHIVZAJEMAASCII "arhiv"
press ?Potrdi
window "    DIDEROVIV "
menu "&Datoteka" "Parametri za zajem s terminala"
window " PARAMETRI ZA ZAJEM INVENTURE S TERMINALOM"
file "zajem/INVASCII.txt"
press ?IzberiDatoteko
press ?VRedu
window "    DIDEROVIV "
menu "&Datoteka" "Izhod"
)");
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_EQ(run.output, "");
    const auto entry = [&](std::string_view section, std::string_view name) {
        return folder.entry("ZALTO.INI", section, name).value_or("(none)");
    };
    EXPECT_EQ(entry("SPLOŠNO", "VrstaPrometaInvManjkoMP"), "36");
    EXPECT_EQ(entry("SPLOŠNO", "VrstaPrometaInvManjkoVP"), "35");
    EXPECT_EQ(entry("SERVISNE", "Skladišče ZN"), "4");
    EXPECT_EQ(entry("SERVISNE", "Vrsta prometa ZN"), "18");
    EXPECT_EQ(entry("SERVISNE", "Pot arhiva ASCII"), "arhiv");
    EXPECT_EQ(entry("TERMINAL", "MAPA IN IME DATOTEKE TERMINALA"), "zajem/INVASCII.txt");
    EXPECT_EQ(entry("TERMINAL", "Dolzina EAN"), "13");
}

}  // namespace
}  // namespace dv
