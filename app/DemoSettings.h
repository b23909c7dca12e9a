#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "data/IniFile.h"

namespace dv {

// The settings of the demo company in the settings file ZALTO.INI.

// The most characters the program keeps of the terminal's file and of the archive folder.
inline constexpr std::size_t kLongestPathSetting = 119;

struct DemoSetting {
    std::string_view section;
    std::string_view entry;
    std::string value;
};

// The barcode terminal's capture file and the folder that archives processed captures, both
// inside the program directory.
std::filesystem::path demoCaptureFile(const std::filesystem::path& programDirectory);
std::filesystem::path demoArchiveFolder(const std::filesystem::path& programDirectory);

// What the demo writes: the stocktake parameters (the owner's partner code and the four
// shortage and surplus transaction types, so that the main frame has nothing to warn about),
// the terminal entries and the service entries. The archive folder ends with a separator, as
// the archive names are appended to it directly.
std::vector<DemoSetting> demoSettings(const std::filesystem::path& programDirectory);

// The first of the program's settings that `file` already holds, as "[SPLOŠNO]
// SifraLastnikaPrograma"; nothing when it holds none. These are the entries the settings windows
// and the suite's other programs keep. What every start writes by itself does not count: the
// table files (section "FILE"), the paper setting (section "Global"), window positions and
// report options.
std::optional<std::string> findProgramSetting(const IniFile& file);

}  // namespace dv
