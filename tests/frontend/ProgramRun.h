#pragma once

#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <string>

namespace dv::test {

// How a run of the program ended.
struct ProgramRun {
    int status = -1;     // the exit status, -1 when it did not exit normally
    std::string output;  // standard output and standard error
};

// Runs a shell command line and collects what it writes on standard output and error.
inline ProgramRun runCommandLine(const std::string& command) {
    ProgramRun run;
    FILE* pipe = popen((command + " 2>&1").c_str(), "r");
    if (pipe == nullptr) return run;
    std::array<char, 4096> buffer;
    while (std::size_t n = std::fread(buffer.data(), 1, buffer.size(), pipe))
        run.output.append(buffer.data(), n);
    const int status = pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

// The command line that runs the program with `arguments` in `directory`, which is also its
// program directory; `launcher` (e.g. "setpriv ...") goes in front of the program.
inline std::string programCommandLine(const std::filesystem::path& directory,
                                      const std::string& arguments,
                                      const std::string& launcher = "") {
    return "cd '" + directory.string() + "' && " + launcher + "'" DV_EXECUTABLE "' --dir '" +
           directory.string() + "' " + arguments;
}

// Runs the program with `arguments` in `directory`, which is also its program directory.
inline ProgramRun runProgram(const std::filesystem::path& directory, const std::string& arguments) {
    return runCommandLine(programCommandLine(directory, arguments));
}

}  // namespace dv::test
