#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "StartUpTestSupport.h"
#include "app/SingleInstanceLock.h"
#include "data/TableFiles.h"
#include "runtime/TextCase.h"

namespace dv {
namespace {

using test::ProgramFolder;
using test::ProgramRun;

// The frame is open and is left through its menu.
constexpr const char* kLeaveFrame = R"(window "    DIDEROVIV "
menu "&Datoteka" "Izhod"
)";
// The frame opens without a word and is left.
const std::string kQuietStart = std::string("start Main\n") + kLeaveFrame;

// Waits (generously) for a program started in the background to write `file`.
bool awaitFile(const std::filesystem::path& file) {
    for (int i = 0; i < 2000; ++i) {
        std::error_code ec;
        if (std::filesystem::file_size(file, ec) > 0 && !ec) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}

// A script that expects the frame never to have opened: it fails on its last line.
bool frameNeverOpened(const ProgramRun& run) {
    return run.status == 1 && run.output.find("line ") != std::string::npos &&
           run.output.find("  seen:     no window open\n") != std::string::npos;
}

class MainScript : public ::testing::Test {
  protected:
    // The frame's settings without a reminder or warning, plus `extra`.
    void quiet(const std::string& extra = "") const {
        folder.write("ZALTO.INI", test::quietSettings(extra));
        folder.write("BACKUP.INI", test::recentBackup());
    }
    void expectHolds(const std::string& script) const {
        const ProgramRun run = folder.script(script);
        EXPECT_EQ(run.status, 0) << run.output;
        EXPECT_EQ(run.output, "");
    }
    ProgramFolder folder;
};

TEST_F(MainScript, RemindsOfABackupSevenDaysOldButNotOfOneSixDaysOld) {
    const std::string parameters = test::quietSettings();
    const std::string noBackupDate = parameters.substr(0, parameters.find("[Global]"));
    folder.write("BACKUP.INI", test::recentBackup());
    folder.write("ZALTO.INI",
                 noBackupDate + test::backupSection(dayNumber(2024, 3, 9), timeValue(14, 30)));
    expectHolds(kQuietStart);

    folder.write("ZALTO.INI",
                 noBackupDate + test::backupSection(dayNumber(2024, 3, 8), timeValue(9, 5)));
    expectHolds(std::string(R"(start Main
message " OPOZORILO" " Zadnjo KOPIJO PODATKOV ste naredili 08.03.2024 ob 09:05.|| V modulu NASTAVITVE-KOPIJE čim prej naredite KOPIJE (Backup), da si zagotovite varnost poslovanja."
answer OK
)") + kLeaveFrame);

    // The backup program's own file, once the frame has opened.
    folder.write("ZALTO.INI", test::quietSettings());
    folder.write("BACKUP.INI", test::backupSection(dayNumber(2024, 3, 8), timeValue(17, 45)));
    expectHolds(R"(start Main
message " OPOZORILO" " Zadnjo KOPIJO PODATKOV ste naredili 08.03.2024 ob 17:45.|| V orodni vrstici izberite gumb KOPIJE in si zagotovite varnost poslovanja."
answer OK
window "    DIDEROVIV "
toolbar "IZHOD"
)");
}

TEST_F(MainScript, AFirstStartWarnsOfEverythingMissingAndWritesTheTableFiles) {
    expectHolds(R"(start Main
message " OPOZORILO" " KOPIJ PODATKOV (Backup) sploh še niste naredili.|| To lahko izvedete v modulu NASTAVITVE-KOPIJE osnovnega menuja."
answer OK
message " OPOZORILO" " V nastavitvah programa NIMATE DOLOČENIH| vseh parametrov za pravilno izvajanje inventure. !||  Pred izvajanjem inventure OBVEZNO nastavite parametre !"
answer OK
message " OPOZORILO" " KOPIJ PODATKOV (Backup) sploh še niste naredili.|| To lahko izvedete z gumbom KOPIJE v orodni vrstici."
answer OK
window "    DIDEROVIV "
close
)");
    const std::string directory = folder.program().string();
    for (const TableFile& table : tableFiles()) {
        const auto entry = folder.entry("ZALTO.INI", "FILE", table.entry);
        ASSERT_TRUE(entry) << table.entry;
        const std::string name = lowerSlovenian(std::string(table.builtInName));
        const std::string file = name.substr(name.find_last_of('\\') + 1);
        EXPECT_EQ(entry->rfind(directory, 0), 0u) << *entry;
        EXPECT_EQ(entry->substr(entry->size() - file.size()), file) << *entry;
    }
    for (int n = 1; n <= 10; ++n)
        EXPECT_EQ(folder.entry("GCAL.INI", "Options", "CAL" + std::to_string(n)), "") << n;
    // The paper setting is written back; the fiscal folder made.
    EXPECT_EQ(folder.entry("ZALTO.INI", "Global", "Papir"), "1");
    EXPECT_TRUE(std::filesystem::is_directory(folder.program() / "FURS"));
}

TEST_F(MainScript, WarnsOfMissingParametersWhenOnlyTheOwnerIsMissing) {
    folder.write("BACKUP.INI", test::recentBackup());
    std::string settings = test::quietSettings();
    settings.replace(settings.find("SifraLastnikaPrograma=100"), 25, "SifraLastnikaPrograma=0");
    folder.write("ZALTO.INI", settings);
    expectHolds(std::string(R"(start Main
message " OPOZORILO" " V nastavitvah programa NIMATE DOLOČENIH| vseh parametrov za pravilno izvajanje inventure. !||  Pred izvajanjem inventure OBVEZNO nastavite parametre !"
answer OK
)") + kLeaveFrame);
}

TEST_F(MainScript, MenuAndToolbarStartTheirProceduresOrSayTheyAreMissing) {
    quiet();
    expectHolds(R"script(start Main
menu "&DIDEROVIV" "1. Evidenca inventur, priprava podatkov in izpis predloge"
window "  EVIDENCA OPRAVLJENIH INVENTUR"
close
window "    DIDEROVIV "
menu "&DIDEROVIV" "2. Vnos inventurnega popisa"
window "  EVIDENCA OPRAVLJENIH INVENTUR"
expect ?IzberiInventuro visible
press ?Zapri
window "    DIDEROVIV "
menu "&Servisne funkcije" "1. Vpis količine vsem artiklom v zalogo"
window "Vpis količine vsem artiklom v skladišču"
press ?Preklici
window "    DIDEROVIV "
menu "&DIDEROVIV" "3. Izpis inventurnih razlik"
window "  EVIDENCA OPRAVLJENIH INVENTUR"
expect ?IzpisRazlik visible
press ?Zapri
window "    DIDEROVIV "
menu "&DIDEROVIV" "4. Knjiženje inventurnih razlik"
window "  EVIDENCA OPRAVLJENIH INVENTUR"
expect ?Knjizenje disabled
press ?Zapri
window "    DIDEROVIV "
menu "&DIDEROVIV" "5. Izpis dokumentov inventure (manjki in viški)"
window "  EVIDENCA OPRAVLJENIH INVENTUR"
expect ?DokumentViskov visible
press ?Zapri
window "    DIDEROVIV "
menu "&DIDEROVIV" "6. Izpis zaloge - količinsko in vrednostno"
window "  EVIDENCA OPRAVLJENIH INVENTUR"
expect ?IzpisZalog visible
press ?Zapri
window "    DIDEROVIV "
menu "&DIDEROVIV" "Najprej naredite rekonstrukcijo zalog ..."
message " PRIPOROČILO" "| Priporočamo, da pred začetkom inventure naredite| rekonstrukcijo zalog iz prometnih podatkov| v modulu NASTAVITVE ... || "
answer OK
toolbar "DIDEROVIV"
window " INFORMACIJA"
toolbar "DIDEROVIV"
window " INFORMACIJA"
press ?Zapri
window " INFORMACIJA"
close
window "    DIDEROVIV "
menu "P&omoč" "O programu"
window " O PROGRAMU"
press ?SpletnaStran
message " VPRAŠANJE" "Obisk naše spletne strani ?"
answer Yes
message " OPOZORILO" " Spletne strani https://www.dideroviv.si ni mogoče odpreti.|| Odprite jo v brskalniku."
answer OK
press "Sporočilo izdelovalcu"
message " VPRAŠANJE" "Želiš poslati sporočilo sedaj ?"
answer No
press ?Zapri
window "    DIDEROVIV "
menu "&Datoteka" "Izhod"
)script");
}

TEST_F(MainScript, TheBackupButtonRunsTheConfiguredProgramOrSaysItIsMissing) {
    quiet();
    expectHolds(R"(start Main
toolbar "KOPIJE"
message " OPOZORILO" " Programa \"BackUp.EXE\" ni mogoče najti.|| Ukazno vrstico programa nastavite v datoteki ZALTO.INI, razdelek [PROGRAMI], vnos \"Kopije\"."
answer OK
window "    DIDEROVIV "
menu "&Datoteka" "Izhod"
)");

    quiet("[PROGRAMI]\nKopije=kopije.sh\n");
    folder.write("kopije.sh", "#!/bin/sh\necho narejeno > kopija.txt\n");
    std::filesystem::permissions(folder.program() / "kopije.sh", std::filesystem::perms::owner_all);
    expectHolds(R"(start Main
toolbar "KOPIJE"
window "    DIDEROVIV "
menu "&Datoteka" "Izhod"
)");
    EXPECT_TRUE(awaitFile(folder.program() / "kopija.txt")) << "the backup program did not run";
}

TEST_F(MainScript, ASecondInstanceIsRefusedWhileTheFirstHoldsTheLock) {
    quiet();
    const auto lockFile = folder.program() / kInstanceLockFile;
    const int first = ::open(lockFile.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    ASSERT_GE(first, 0);
    ASSERT_EQ(::flock(first, LOCK_EX | LOCK_NB), 0);
    const ProgramRun refused = folder.script(R"(start Main
message "Application already running..." "This application is already running... DIDEROVIV "
answer OK
window "    DIDEROVIV "
)");
    EXPECT_TRUE(frameNeverOpened(refused)) << refused.output;
    ::close(first);

    // The lock file left behind holds nothing.
    ASSERT_TRUE(std::filesystem::exists(lockFile));
    expectHolds(kQuietStart);
}

TEST_F(MainScript, AFiscalFolderThatCannotBeMadeEndsTheProgram) {
    quiet("[FURS]\nImenik=blokada/FURS\n");
    folder.write("blokada", "datoteka, ne mapa\n");
    const ProgramRun ended = folder.script(R"(start Main
message-contains " Imenika )" + (folder.program() / "blokada/FURS").string() +
                                           R"( ni mogoče ustvariti !|| Napaka: 20 - "
answer OK
window "    DIDEROVIV "
)");
    EXPECT_TRUE(frameNeverOpened(ended)) << ended.output;
    EXPECT_NE(ended.output.find("line 4: window"), std::string::npos) << ended.output;
}

}  // namespace
}  // namespace dv
