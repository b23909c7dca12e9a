#pragma once

namespace dv {

class ErrorReporter;
class SettingsManager;

// The program-wide services every procedure uses: the error reporter and the settings file.
// Start-up sets them before the first procedure runs and clears them after the last one ended;
// procedures and the code lists they call reach them here instead of having them passed along.
struct ProgramServices {
    ErrorReporter* errors = nullptr;
    SettingsManager* settings = nullptr;
};

// Installs the services (or clears them with {}); returns the previous ones.
ProgramServices setProgramServices(ProgramServices services);

// The installed error reporter and settings file; std::logic_error when start-up has not set
// them (a procedure run outside the program).
ErrorReporter& programErrors();
SettingsManager& programSettings();

}  // namespace dv
