#include "data/SettingsManager.h"

#include <system_error>

#include "runtime/TextCase.h"

namespace dv {

std::filesystem::path findFileIgnoringCase(const std::filesystem::path& directory,
                                           std::string_view name) {
    std::filesystem::path exact = directory / name;
    std::error_code ec;
    if (std::filesystem::exists(exact, ec)) return exact;
    for (std::filesystem::directory_iterator it(directory, ec), end; !ec && it != end;
         it.increment(ec)) {
        if (equalsIgnoreCaseAscii(it->path().filename().string(), name)) return it->path();
    }
    return exact;
}

SettingsManager::~SettingsManager() {
    (void)flush();
}

FileResult SettingsManager::open(const std::filesystem::path& directory) {
    return openFile(findFileIgnoringCase(directory, kSettingsFileName));
}

FileResult SettingsManager::openFile(const std::filesystem::path& file) {
    IniFile loaded;
    FileResult result = loaded.load(file);
    if (!result.ok()) return result;
    path_ = file;
    file_ = std::move(loaded);
    held_.clear();
    holding_ = false;
    return result;
}

std::string SettingsManager::readText(std::string_view section, std::string_view entry,
                                      std::string_view defaultValue) const {
    return file_.readText(section, entry, defaultValue);
}

std::int64_t SettingsManager::readNumber(std::string_view section, std::string_view entry,
                                         std::int64_t defaultValue) const {
    return file_.readNumber(section, entry, defaultValue);
}

FileResult SettingsManager::write(std::string_view section, std::string_view entry,
                                  std::string_view value) {
    FileResult result = file_.write(section, entry, value);
    if (!result.ok()) return result;
    held_.push_back({std::string(section), std::string(entry), std::string(value)});
    return holding_ ? FileResult::success() : flush();
}

FileResult SettingsManager::writeNumber(std::string_view section, std::string_view entry,
                                        std::int64_t value) {
    return write(section, entry, std::to_string(value));
}

FileResult SettingsManager::flush() {
    holding_ = false;
    if (held_.empty()) return FileResult::success();
    if (path_.empty()) return FileResult::failure("No settings file is open.");
    IniFile current;
    FileResult result = current.load(path_);
    if (!result.ok()) return result;
    for (const HeldWrite& w : held_) {
        // Only another program changing the file's code page meanwhile can make this fail.
        FileResult applied = current.write(w.section, w.entry, w.value);
        if (!applied.ok() && result.ok()) result = std::move(applied);
    }
    FileResult saved = current.save(path_);
    if (!saved.ok()) return saved;
    file_ = std::move(current);
    held_.clear();
    return result;
}

}  // namespace dv
