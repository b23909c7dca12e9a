#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "data/IniFile.h"

namespace dv {

// The name of the program's settings file.
inline constexpr std::string_view kSettingsFileName = "ZALTO.INI";

// `name` in `directory`, or the existing file whose name differs from it only in letter case
// (files of the suite are named the Windows way: "BACKUP.INI" may be "Backup.ini").
std::filesystem::path findFileIgnoringCase(const std::filesystem::path& directory,
                                           std::string_view name);

// The program's settings file, shared with the other programs of the suite.
//
// Reads come from the text loaded at open plus this program's own writes. A write goes to disk at
// once: the file is read again (so that what other programs wrote meanwhile is kept), the entry
// set, and the file replaced safely (IniFile::save). A write that cannot reach the disk is held
// and reported; `flush` tries again with everything held. Between `holdWrites` and `flush`,
// writes are only held, so that a batch (start-up writes one entry per table) costs one write.
class SettingsManager {
  public:
    SettingsManager() = default;
    SettingsManager(const SettingsManager&) = delete;
    SettingsManager& operator=(const SettingsManager&) = delete;
    // Writes what is still held, as the program does at shutdown; failures cannot be reported
    // here, so callers flush first.
    ~SettingsManager();

    // Opens "ZALTO.INI" in `directory`. On a case-sensitive file system an existing file whose
    // name differs only in letter case ("zalto.ini") is used; else "ZALTO.INI" is created at
    // the first write. A missing file is an empty one.
    FileResult open(const std::filesystem::path& directory);

    // Opens the settings file at `file` itself (".\ZALTO.INI" of the working directory).
    FileResult openFile(const std::filesystem::path& file);

    const std::filesystem::path& path() const { return path_; }

    std::string readText(std::string_view section, std::string_view entry,
                         std::string_view defaultValue) const;
    std::int64_t readNumber(std::string_view section, std::string_view entry,
                            std::int64_t defaultValue) const;

    // Sets the entry. When the file cannot be written, the value is still held (reads give it)
    // and the failure is returned. A malformed name or value changes nothing.
    FileResult write(std::string_view section, std::string_view entry, std::string_view value);
    FileResult writeNumber(std::string_view section, std::string_view entry, std::int64_t value);

    // Holds writes back until the next flush.
    void holdWrites() { holding_ = true; }

    // Writes everything held to the file and ends holding.
    FileResult flush();

    bool hasHeldWrites() const { return !held_.empty(); }

  private:
    struct HeldWrite {
        std::string section;
        std::string entry;
        std::string value;
    };

    std::filesystem::path path_;
    IniFile file_;
    std::vector<HeldWrite> held_;
    bool holding_ = false;
};

}  // namespace dv
