#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "framework/FormProcedure.h"
#include "framework/SettingsEntries.h"

namespace dv {

// A window whose controls edit program-wide variables kept in the settings file (the program's
// parameter and settings windows). The controls change the variables directly; the OK button
// writes the entries into the settings file and closes the window with RespCompleted. When the
// file cannot be written the user is told why and the window stays open, so that OK can be
// tried again. The cancel button and the close box write nothing. With a `readBack` they also
// read the entries back from the settings file, so that the variables hold what the file holds
// now: what was typed and not saved is not used by the rest of this run, and what another
// settings window saved meanwhile stays in force. Without one, what was typed stays in force
// until the program ends.
//
// It is a data-entry form for its keyboard aids (Enter moves on, F6 opens the calendar) and
// keeps its position in the settings file under the procedure's name. The window's layout has
// the procedure's name.
class SettingsWindow : public FormProcedure {
  public:
    // Reads the window's entries from the settings file into their variables, each with the
    // default start-up gives it.
    using SettingsReader = void (*)(const SettingsManager& settings);

    SettingsWindow(std::string name, std::vector<SettingsEntry> entries, SettingsReader readBack,
                   std::string_view okControl, std::string_view cancelControl);

    const std::vector<SettingsEntry>& entries() const { return entries_; }

    EventResult OnCompleted(const Event& event) override;
    EventResult OnClose(const Event& event) override;

  private:
    std::vector<SettingsEntry> entries_;
    SettingsReader readBack_;
};

}  // namespace dv
