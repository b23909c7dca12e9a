#pragma once

#include <string_view>

#include "data/SettingsManager.h"
#include "runtime/Window.h"

namespace dv {

// The position and size of a procedure's window kept in the settings file, in the section named
// after the procedure: "Maximize" ("Yes"/"No"), "XPos", "YPos", and for a resizable window
// "Width" and "Height".

// Gives the window what the settings file holds; missing entries leave its geometry as it is.
void restoreWindowPosition(const SettingsManager& settings, std::string_view procedure,
                           Window& window);

// Writes the window's geometry; the failure to write, when the file cannot be written.
FileResult saveWindowPosition(SettingsManager& settings, std::string_view procedure,
                              const Window& window);

}  // namespace dv
