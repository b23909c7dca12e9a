#pragma once

#include <span>
#include <string_view>

namespace dv {

// One table of the program: its name, the entry of section "FILE" of the settings file that
// holds its file name, the built-in file name used when that entry is empty, and the structure
// version it is registered with (-1 for a table that is not registered, the capture text file).
struct TableFile {
    std::string_view table;
    std::string_view entry;
    std::string_view builtInName;
    int version;
};

// Every table of the installed catalogue (data/Catalogue.h) in the order in which start-up
// resolves their file names.
std::span<const TableFile> tableFiles();

// The table of that name (case-insensitive), or nullptr.
const TableFile* findTableFile(std::string_view table);

}  // namespace dv
