#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "data/IniFile.h"
#include "data/SettingsManager.h"

namespace dv {

// The file name each table is opened under: one program-wide variable per table, holding the
// table's built-in file name until start-up resolves it. Like every program-wide variable it is
// read and set only by the procedure thread that runs.

// The file name of `table` (case-insensitive); throws std::invalid_argument for an unknown table.
const std::string& tableFileName(std::string_view table);

// Sets the file name of `table` (the main frame renames SFPARTFIN); throws for an unknown table.
void setTableFileName(std::string_view table, std::string fileName);

// Every file name back to its table's built-in name.
void resetTableFileNames();

// The start-up steps that fix where the tables lie: opens the settings file "ZALTO.INI" in
// `programDirectory`, resolves the "FILE" entry of every table in start-up order with a
// DataFileLocator that accepts missing files, and stores the file names. Entries that were empty
// are written back in one write. Returns the failure to read or write the settings file; the
// names are stored all the same.
FileResult resolveTableFileNames(SettingsManager& settings,
                                 const std::filesystem::path& programDirectory);

}  // namespace dv
