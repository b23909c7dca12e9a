#include "data/ProgramDirectory.h"

#include <pwd.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <system_error>

namespace dv {
namespace {

std::filesystem::path normalDirectory(const std::filesystem::path& directory) {
    std::error_code ec;
    std::filesystem::path p = std::filesystem::absolute(directory, ec);
    if (ec) p = directory;
    p = p.lexically_normal();
    if (!p.has_filename() && p != p.root_path()) p = p.parent_path();
    return p;
}

bool isWritableDirectory(const std::filesystem::path& directory) {
    std::error_code ec;
    return std::filesystem::is_directory(directory, ec) && ::access(directory.c_str(), W_OK) == 0;
}

std::filesystem::path homeDirectory() {
    if (const char* home = std::getenv("HOME"); home && *home) return home;
    if (const passwd* pw = ::getpwuid(::getuid()); pw && pw->pw_dir) return pw->pw_dir;
    return ".";
}

}  // namespace

std::optional<std::filesystem::path> chooseProgramDirectory(
    const std::optional<std::string>& requested, const std::filesystem::path& executableDir,
    const std::filesystem::path& userDir, std::string& error) {
    std::error_code ec;
    if (requested) {
        const std::filesystem::path dir = normalDirectory(*requested);
        if (std::filesystem::is_directory(dir, ec)) return dir;
        error = "The program directory \"" + *requested + "\" does not exist.";
        return std::nullopt;
    }
    if (!executableDir.empty() && isWritableDirectory(executableDir))
        return normalDirectory(executableDir);
    const std::filesystem::path dir = normalDirectory(userDir);
    std::filesystem::create_directories(dir, ec);
    if (!ec && isWritableDirectory(dir)) return dir;
    error = "Cannot use the directory \"" + dir.string() +
            "\" for the settings and data: " + (ec ? ec.message() : "it is not writable") + ".";
    return std::nullopt;
}

std::optional<std::filesystem::path> findProgramDirectory(
    const std::optional<std::string>& requested, std::string_view programPath, std::string& error) {
    if (requested) return chooseProgramDirectory(requested, {}, {}, error);
    return chooseProgramDirectory(requested, executableDirectory(programPath), userDataDirectory(),
                                  error);
}

std::filesystem::path executableDirectory(std::string_view programPath) {
    std::error_code ec;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (!ec && self.is_absolute()) return self.parent_path();
    return normalDirectory(std::filesystem::path(programPath)).parent_path();
}

std::filesystem::path userDataDirectory() {
    if (const char* data = std::getenv("XDG_DATA_HOME"); data && *data == '/')
        return std::filesystem::path(data) / "dideroviv";
    return homeDirectory() / ".local" / "share" / "dideroviv";
}

std::string hostPath(std::string_view stored) {
    std::string path(stored);
    std::replace(path.begin(), path.end(), '\\', '/');
    return path;
}

}  // namespace dv
