#pragma once

#include <filesystem>
#include <string>

namespace dv {

class SettingsManager;

// The folder of the suite's fiscal-register console and its settings file "DBPR.INI". The
// console expects the folder to exist before it first runs; the main frame makes sure it does.
//
// The folder is "Imenik" of section "FURS" of the program's settings (written the Windows way or
// the host's; a relative path lies in the program directory), by default "FURS" in the program
// directory.
std::filesystem::path fiscalFolder(const SettingsManager& settings,
                                   const std::filesystem::path& programDirectory);

// Creates the folder (with the folders above it) when it is missing. Empty when it exists
// afterwards; else the message for the user, with the folder and the system's reason.
std::string ensureFiscalFolder(const std::filesystem::path& folder);

// The console's settings into the program-wide variables: "Konzola" and "Stevilcenje" of
// section "FURS" of "DBPR.INI" in the working directory, "Naprava" and "Prostor" of the one in
// the fiscal folder; a missing file gives the defaults.
void readFiscalSettings(const std::filesystem::path& workingDirectory,
                        const std::filesystem::path& folder);

}  // namespace dv
