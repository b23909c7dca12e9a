#include "app/BackupReminder.h"

#include <gtest/gtest.h>

#include "StartUpTestSupport.h"

namespace dv {
namespace {

const DayNumber kToday = dayNumber(2024, 3, 15);

TEST(BackupReminder, ComesOnTheSeventhDayWithTheDateAndTimeOfTheLastBackup) {
    using enum BackupReminderSource;
    EXPECT_EQ(backupReminderText(Settings, kToday, {kToday - 6, timeValue(23, 59)}), std::nullopt);
    EXPECT_EQ(backupReminderText(BackupProgram, kToday, {kToday, 1}), std::nullopt);
    // A date the clock has not reached yet is no reason to remind.
    EXPECT_EQ(backupReminderText(Settings, kToday, {kToday + 30, 1}), std::nullopt);

    EXPECT_EQ(backupReminderText(Settings, kToday, {kToday - 7, timeValue(8, 5)}),
              " Zadnjo KOPIJO PODATKOV ste naredili 08.03.2024 ob 08:05.|| V modulu "
              "NASTAVITVE-KOPIJE čim prej naredite KOPIJE (Backup), da si zagotovite varnost "
              "poslovanja.");
    EXPECT_EQ(backupReminderText(BackupProgram, kToday, {dayNumber(2023, 12, 31), timeValue(17, 30)}),
              " Zadnjo KOPIJO PODATKOV ste naredili 31.12.2023 ob 17:30.|| V orodni vrstici "
              "izberite gumb KOPIJE in si zagotovite varnost poslovanja.");
}

TEST(BackupReminder, SaysNoBackupWasEverMadeForADateBeforeTheFirstDay) {
    using enum BackupReminderSource;
    const std::string never = " KOPIJ PODATKOV (Backup) sploh še niste naredili.";
    EXPECT_EQ(backupReminderText(Settings, kToday, {0, 0}),
              never + "|| To lahko izvedete v modulu NASTAVITVE-KOPIJE osnovnega menuja.");
    EXPECT_EQ(backupReminderText(BackupProgram, kToday, {-5, 0}),
              never + "|| To lahko izvedete z gumbom KOPIJE v orodni vrstici.");
}

TEST(BackupReminder, ReadsTheBackupProgramsFileInAnyLetterCase) {
    test::TempDirectory directory;
    EXPECT_EQ(readBackupProgramFile(directory.path()).date, 0) << "no file: never";
    std::ofstream(directory.path() / "Backup.ini")
        << "[global]\r\nDatumBackup=81520\r\nUraBackup=5040001\r\n";
    const LastBackup last = readBackupProgramFile(directory.path());
    EXPECT_EQ(last.date, 81520);
    EXPECT_EQ(last.time, 5040001);
}

}  // namespace
}  // namespace dv
