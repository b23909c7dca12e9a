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

// Runs the program with `arguments` in `directory`, which is also its program directory.
inline ProgramRun runProgram(const std::filesystem::path& directory, const std::string& arguments) {
    const std::string command = "cd '" + directory.string() + "' && '" DV_EXECUTABLE "' --dir '" +
                                directory.string() + "' " + arguments + " 2>&1";
    ProgramRun run;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) return run;
    std::array<char, 4096> buffer;
    while (std::size_t n = std::fread(buffer.data(), 1, buffer.size(), pipe))
        run.output.append(buffer.data(), n);
    const int status = pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

}  // namespace dv::test
