#include "app/BackupReminder.h"

#include "app/SettingValue.h"
#include "app/ShellMessage.h"
#include "data/IniFile.h"
#include "data/SettingsManager.h"
#include "runtime/Picture.h"
#include "runtime/PictureFormat.h"

namespace dv {
namespace {

// Days a backup may be old before the user is reminded.
constexpr DayNumber kDaysWithoutReminder = 6;

constexpr std::string_view kNeverMade = " KOPIJ PODATKOV (Backup) sploh še niste naredili.";
constexpr std::string_view kLastMade = " Zadnjo KOPIJO PODATKOV ste naredili ";

std::string_view neverAdvice(BackupReminderSource source) {
    return source == BackupReminderSource::Settings
               ? "|| To lahko izvedete v modulu NASTAVITVE-KOPIJE osnovnega menuja."
               : "|| To lahko izvedete z gumbom KOPIJE v orodni vrstici.";
}

std::string_view lateAdvice(BackupReminderSource source) {
    return source == BackupReminderSource::Settings
               ? "|| V modulu NASTAVITVE-KOPIJE čim prej naredite KOPIJE (Backup), da si "
                 "zagotovite varnost poslovanja."
               : "|| V orodni vrstici izberite gumb KOPIJE in si zagotovite varnost poslovanja.";
}

}  // namespace

std::optional<std::string> backupReminderText(BackupReminderSource source, DayNumber today,
                                              const LastBackup& last) {
    if (static_cast<std::int64_t>(today) - last.date <= kDaysWithoutReminder) return std::nullopt;
    if (last.date < 1) return std::string(kNeverMade) + std::string(neverAdvice(source));
    return std::string(kLastMade) + formatDate(last.date, Picture::of("@D17")) + " ob " +
           formatTime(last.time, Picture::of("@T01")) + "." + std::string(lateAdvice(source));
}

void remindOfBackup(BackupReminderSource source, const LastBackup& last) {
    if (auto text = backupReminderText(source, today(), last))
        showShellMessage(kWarningCaption, std::move(*text));
}

LastBackup readBackupProgramFile(const std::filesystem::path& workingDirectory) {
    IniFile file;
    LastBackup last;
    if (!file.load(findFileIgnoringCase(workingDirectory, "BACKUP.INI")).ok()) return last;
    readSetting(file, "Global", "DatumBackup", 0, last.date);
    readSetting(file, "Global", "UraBackup", 0, last.time);
    return last;
}

}  // namespace dv
