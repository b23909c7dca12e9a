#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "runtime/Date.h"
#include "runtime/TimeOfDay.h"

namespace dv {

// The two reminders of the main frame that the data want backing up: one from the date the
// suite keeps in ".\ZALTO.INI" (shown while the frame starts), one from the backup program's own
// file "BACKUP.INI" (shown when the frame has opened). They are independent: with neither file
// showing a recent backup, both appear.
enum class BackupReminderSource {
    Settings,       // "Global" of ".\ZALTO.INI"
    BackupProgram,  // "Global" of "BACKUP.INI"
};

// When the last backup was made, as the backup program writes it: a day number (0 for never)
// and a time.
struct LastBackup {
    DayNumber date = 0;
    TimeValue time = 0;
};

// The reminder's text, or nothing while the last backup is at most six days old (or dated
// later than today).
std::optional<std::string> backupReminderText(BackupReminderSource source, DayNumber today,
                                              const LastBackup& last);

// Shows the reminder under " OPOZORILO" when one is due today.
void remindOfBackup(BackupReminderSource source, const LastBackup& last);

// "DatumBackup" and "UraBackup" of "BACKUP.INI" in `workingDirectory` (the name in any letter
// case); a missing or unreadable file means no backup was ever made.
LastBackup readBackupProgramFile(const std::filesystem::path& workingDirectory);

}  // namespace dv
