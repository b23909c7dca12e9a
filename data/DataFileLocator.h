#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "data/SettingsManager.h"

namespace dv {

// What resolve does when the file it names does not exist.
enum class MissingFileMode {
    Accept,  // the name is used as it is; the first open of the table meets the missing file
    Refuse,  // the name comes with an error that says the file is missing
};

// A resolved table file name; `error` tells what went wrong (the name is still filled in).
struct LocatedFile {
    std::string path;
    std::string error;

    bool ok() const { return error.empty(); }
};

// Finds the file of each table through the settings file.
class DataFileLocator {
  public:
    DataFileLocator(SettingsManager& settings, std::filesystem::path programDirectory);

    void setMissingFileMode(MissingFileMode mode) { mode_ = mode; }

    // The file named by `entry` of `section` in the settings file. An entry that names no file
    // is first filled with the program directory and the built-in name in lower case
    // ("..\APPINS.TPS" gives "<program directory>/../appins.tps") and written back. A stored value
    // is taken as the user wrote it: only the part before "\!" names the file; backslashes are read
    // as separators; letter case is kept; a relative path is relative to the program directory. The
    // result is absolute, with ".." and symbolic links of existing directories resolved.
    LocatedFile resolve(std::string_view section, std::string_view entry,
                        std::string_view builtInName);

  private:
    SettingsManager& settings_;
    std::filesystem::path programDirectory_;
    MissingFileMode mode_ = MissingFileMode::Refuse;
};

}  // namespace dv
