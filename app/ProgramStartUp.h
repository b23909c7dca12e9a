#pragma once

#include <atomic>
#include <filesystem>
#include <memory>
#include <string>

#include "data/IniFile.h"
#include "data/SettingsManager.h"
#include "framework/ErrorReporter.h"
#include "storage/TableAccess.h"

namespace dv {

// The name of the calendar's options file in the program directory.
inline constexpr std::string_view kCalendarOptionsFile = "GCAL.INI";

// The program's start and end around its main frame. Starting makes, in this order: the
// program-wide variables and record buffers cleared, the error reporter, the table access (one
// manager per table and the relation keepers, with every table's structure version declared),
// the settings file "ZALTO.INI" of the program directory with every table's file name resolved
// through its section "FILE" (entries still empty are filled in, so that after the first start
// the file lists every table's path), the calendar's options, the program's procedures registered
// and the services installed for them. Ending (shutDown, or the destructor) writes back what the
// settings file still holds, then ends the table access and the error reporter.
//
// A fatal message ends the process on the spot; the settings file is written back then too.
class ProgramStartUp {
  public:
    // Starts the program kept in `programDirectory`; nullptr, with the reason in `error`, when its
    // settings file cannot be read or its table file names cannot be written into it.
    static std::unique_ptr<ProgramStartUp> start(const std::filesystem::path& programDirectory,
                                                 std::string& error);
    ~ProgramStartUp();
    ProgramStartUp(const ProgramStartUp&) = delete;
    ProgramStartUp& operator=(const ProgramStartUp&) = delete;

    // Ends the program's services (once); the failure to write the settings file back.
    FileResult shutDown();

    const std::filesystem::path& programDirectory() const { return programDirectory_; }
    ErrorReporter& errors() { return *errors_; }
    SettingsManager& settings() { return settings_; }
    TableAccess& tables() { return *tables_; }

  private:
    explicit ProgramStartUp(std::filesystem::path programDirectory);
    FileResult begin();

    std::filesystem::path programDirectory_;
    std::unique_ptr<ErrorReporter> errors_;
    std::unique_ptr<TableAccess> tables_;
    SettingsManager settings_;
    // What the halt of a fatal message writes back; cleared when the program ends in order.
    std::shared_ptr<std::atomic<SettingsManager*>> pendingSettings_;
    bool servicesInstalled_ = false;
    bool ended_ = false;
};

// The calendar's options as its component reads them at start: section "Options", entries
// "CAL1" to "CAL10" written empty, in "GCAL.INI" of `programDirectory`.
FileResult writeCalendarOptions(const std::filesystem::path& programDirectory);

}  // namespace dv
