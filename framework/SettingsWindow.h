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
// tried again. The cancel button and the close box write nothing; with `restoreOnCancel` they
// also put the variables back as they were when the window opened, otherwise what was typed
// stays in force until the program ends.
//
// It is a data-entry form for its keyboard aids (Enter moves on, F6 opens the calendar) and
// keeps its position in the settings file under the procedure's name. The window's layout has
// the procedure's name.
class SettingsWindow : public FormProcedure {
  public:
    SettingsWindow(std::string name, std::vector<SettingsEntry> entries, bool restoreOnCancel,
                   std::string_view okControl, std::string_view cancelControl);

    const std::vector<SettingsEntry>& entries() const { return entries_; }

    EventResult OnCompleted(const Event& event) override;
    EventResult OnClose(const Event& event) override;

  private:
    std::vector<SettingsEntry> entries_;
    SavedSettingsValues saved_;
    bool restoreOnCancel_;
};

}  // namespace dv
