#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace dv {

// The words of a command line as the program starts another one: blanks separate the words,
// a part in double quotes keeps its blanks ("C:\Program Files\x.exe" -echo gives two words) and
// the quotes themselves are dropped; "" is an empty word. No shell is involved: nothing else
// (redirection, variables, wildcards) has a meaning. An unclosed quote runs to the end.
std::vector<std::string> splitCommandLine(std::string_view commandLine);

// The outcome of starting a program: success, or the message to show the user (Slovenian).
struct [[nodiscard]] ProgramStart {
    std::string error;

    bool ok() const { return error.empty(); }
};

// Starts the program a command line names, with the words that follow as its arguments, and
// returns at once: the program runs on in a session of its own and nothing waits for what it
// returns (it is reaped when it ends). A program named without a directory is looked for in
// `workingDirectory` first, as the suite finds its programs beside its data, then on the PATH.
// The program inherits the working directory and the environment.
//
// Fails with a clear message when the command line is empty, when the program cannot be found,
// or when it cannot be run (not executable, out of resources).
ProgramStart startExternalProgram(std::string_view commandLine,
                                  const std::filesystem::path& workingDirectory);

}  // namespace dv
