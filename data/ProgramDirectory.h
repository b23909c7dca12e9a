#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace dv {

// The program directory holds the settings file and is the default data directory.
//
// It is `requested` (the --dir option) when given, which must be an existing directory; else
// the directory of the executable when the program may write there; else the user's data
// directory (see userDataDirectory), created when missing. The result is absolute, without
// "." or ".." parts and without a trailing separator. Returns nullopt and fills `error` when
// no directory can be used.
std::optional<std::filesystem::path> findProgramDirectory(
    const std::optional<std::string>& requested, std::string_view programPath, std::string& error);

// The same choice with the two candidate directories given (findProgramDirectory passes
// executableDirectory and userDataDirectory).
std::optional<std::filesystem::path> chooseProgramDirectory(
    const std::optional<std::string>& requested, const std::filesystem::path& executableDir,
    const std::filesystem::path& userDir, std::string& error);

// The directory of the running executable; `programPath` (argv[0]) serves when the system
// cannot tell.
std::filesystem::path executableDirectory(std::string_view programPath);

// "$XDG_DATA_HOME/dideroviv", by default "~/.local/share/dideroviv".
std::filesystem::path userDataDirectory();

// A path stored the Windows way ("..\APPINS.TPS", "D:\Podatki\artikli.tps") read the host's
// way: every backslash is a directory separator. Nothing else changes, letter case included.
std::string hostPath(std::string_view stored);

}  // namespace dv
