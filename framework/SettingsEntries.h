#pragma once

#include <span>
#include <string_view>
#include <vector>

#include "data/IniFile.h"
#include "runtime/ExpressionVariable.h"

namespace dv {

class SettingsManager;

// A program-wide variable that the settings file keeps under a section and an entry.
struct SettingsEntry {
    std::string_view section;
    std::string_view entry;
    VariableRef variable;
};

// Writes every entry from its variable, a number as a whole decimal number and a text without
// its trailing blanks, in one write of the file. Returns the first failure: an entry that cannot
// be written (its text has no place in the file's code page) or a file that cannot be saved.
// What could not reach the disk stays held by the settings manager, which writes it with its
// next successful write.
FileResult writeSettingsEntries(SettingsManager& settings, std::span<const SettingsEntry> entries);

// Tells the user that the settings were not saved, and why, under " OPOZORILO".
void reportSettingsNotSaved(const FileResult& failure);

}  // namespace dv
