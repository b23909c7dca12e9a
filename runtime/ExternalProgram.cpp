#include "runtime/ExternalProgram.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <thread>

extern char** environ;

namespace dv {
namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

// The file to run for the program word: a word with a directory part is a path (a relative one
// taken from the working directory); a bare name is the file of that name in the working
// directory when there is one, else it is left to the PATH search (`searchPath`).
std::string programFile(const std::string& word, const std::filesystem::path& workingDirectory,
                        bool& searchPath) {
    searchPath = false;
    const std::filesystem::path path(word);
    if (word.find('/') != std::string::npos)
        return path.is_absolute() ? word : (workingDirectory / path).string();
    std::error_code ec;
    const std::filesystem::path beside = workingDirectory / path;
    if (std::filesystem::is_regular_file(beside, ec)) return beside.string();
    searchPath = true;
    return word;
}

std::string cannotRun(const std::string& program, int error) {
    if (error == ENOENT || error == ENOTDIR)
        return "Programa \"" + program + "\" ni mogoče najti.";
    return "Programa \"" + program + "\" ni mogoče zagnati: " + std::strerror(error) + " (" +
           std::to_string(error) + ").";
}

// Waits for the program in the background, so that it leaves no zombie behind when it ends.
void reapWhenEnded(pid_t pid) {
    std::thread([pid] {
        int status = 0;
        while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
        }
    }).detach();
}

}  // namespace

std::vector<std::string> splitCommandLine(std::string_view commandLine) {
    std::vector<std::string> words;
    std::size_t at = 0;
    while (at < commandLine.size()) {
        while (at < commandLine.size() && isBlank(commandLine[at])) ++at;
        if (at >= commandLine.size()) break;
        std::string word;
        bool quoted = false;
        for (; at < commandLine.size() && (quoted || !isBlank(commandLine[at])); ++at) {
            if (commandLine[at] == '"')
                quoted = !quoted;
            else
                word += commandLine[at];
        }
        words.push_back(std::move(word));
    }
    return words;
}

ProgramStart startExternalProgram(std::string_view commandLine,
                                  const std::filesystem::path& workingDirectory) {
    std::vector<std::string> words = splitCommandLine(commandLine);
    if (words.empty() || words.front().empty())
        return {"Ukazna vrstica programa je prazna: ni mogoče vedeti, kateri program naj se zažene."};
    bool searchPath = false;
    const std::string file = programFile(words.front(), workingDirectory, searchPath);

    std::vector<char*> argv;
    for (std::string& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);

    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    // A session of its own: the program outlives this one and is not hit by its terminal's
    // signals.
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSID);
    pid_t pid = 0;
    const int error =
        searchPath ? ::posix_spawnp(&pid, file.c_str(), nullptr, &attributes, argv.data(), environ)
                   : ::posix_spawn(&pid, file.c_str(), nullptr, &attributes, argv.data(), environ);
    posix_spawnattr_destroy(&attributes);
    if (error != 0) return {cannotRun(words.front(), error)};
    reapWhenEnded(pid);
    return {};
}

}  // namespace dv
