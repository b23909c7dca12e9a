#pragma once

#include <optional>
#include <string>
#include <vector>

namespace dv {

// What the command line asked for: the global options and the verb with its own arguments.
struct ProgramOptions {
    std::string programPath;                // argv[0]
    std::optional<std::string> directory;   // --dir DIR
    std::optional<std::string> today;       // --today dd.mm.yyyy
    std::optional<std::string> time;        // --time hh:mm
    std::string verb;                       // files, dictionary, ... (empty: the desktop program)
    std::vector<std::string> arguments;     // what follows the verb
};

// Parses argv; on a malformed command line returns nullopt and fills `error`.
std::optional<ProgramOptions> parseProgramOptions(int argc, char** argv, std::string& error);

}  // namespace dv
