#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "runtime/Date.h"
#include "runtime/TimeOfDay.h"

namespace dv {

// What the command line asked for: the global options and the verb with its own arguments.
struct ProgramOptions {
    std::string programPath;               // argv[0]
    std::optional<std::string> directory;  // --dir DIR
    std::optional<DayNumber> today;        // --today dd.mm.yyyy
    std::optional<TimeValue> time;         // --time hh:mm
    std::optional<std::string> database;   // --database CONNINFO
    std::string verb;                      // files, dictionary, ... (empty: the desktop program)
    std::vector<std::string> arguments;    // what follows the verb
};

// Parses argv; on a malformed command line returns nullopt and fills `error`. The date and
// time are read as a user types them into a date or time field ("1.2.2024", "8:05").
std::optional<ProgramOptions> parseProgramOptions(int argc, char** argv, std::string& error);

// Fixes the program's clock to the --today and --time of the command line, if given.
void applyClockOptions(const ProgramOptions& options);

// The program directory a verb works on (see data/ProgramDirectory.h). When `noArguments` and
// the verb was given some, or when no directory can be found, says why on standard error,
// sets `status` (2 for the command line, 1 for the directory) and returns nothing.
std::optional<std::filesystem::path> commandDirectory(const ProgramOptions& options,
                                                      bool noArguments, int& status);

}  // namespace dv
