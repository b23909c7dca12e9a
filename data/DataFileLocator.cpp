#include "data/DataFileLocator.h"

#include <algorithm>
#include <system_error>

#include "data/ProgramDirectory.h"

namespace dv {
namespace {

std::string lowerAscii(std::string_view text) {
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; });
    return lower;
}

// The part of a stored value that names the file: what comes before "\!" (after it the suite's
// file driver kept options of its own).
std::string_view filePart(std::string_view stored) {
    return stored.substr(0, stored.find("\\!"));
}

std::filesystem::path absoluteFile(const std::filesystem::path& file,
                                   const std::filesystem::path& base) {
    const std::filesystem::path p = file.is_absolute() ? file : base / file;
    std::error_code ec;
    std::filesystem::path resolved = std::filesystem::weakly_canonical(p, ec);
    return ec ? p.lexically_normal() : resolved;
}

}  // namespace

DataFileLocator::DataFileLocator(SettingsManager& settings, std::filesystem::path programDirectory)
    : settings_(settings), programDirectory_(std::move(programDirectory)) {}

LocatedFile DataFileLocator::resolve(std::string_view section, std::string_view entry,
                                     std::string_view builtInName) {
    LocatedFile located;
    std::string stored = settings_.readText(section, entry, "");
    if (filePart(stored).empty()) {
        stored = (programDirectory_ / hostPath(lowerAscii(builtInName))).string();
        located.error = settings_.write(section, entry, stored).error;
    }
    const std::filesystem::path file = absoluteFile(hostPath(filePart(stored)), programDirectory_);
    located.path = file.string();
    std::error_code ec;
    if (mode_ == MissingFileMode::Refuse && located.ok() && !std::filesystem::exists(file, ec))
        located.error = "The data file \"" + located.path + "\" does not exist.";
    return located;
}

}  // namespace dv
