#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>

#include "runtime/Window.h"

namespace dv {

class FormFields;

// The checker of a form's required fields: when the user confirms the form it finds the first
// required control (by control number) that is empty, focuses it and says so in a message built
// from a template, so that the form stays open until every required field is filled.
//
//   ReqFldClass required;
//   required.Init(window, " INFORMACIJA", "@PROMPT podatek mora biti vnešen !", 0, &fields);
//   required.Register("SFENOTE:Naziv", true, "SFENOTE:Naziv", "Naziv (ime) skladišca",
//                     "Naziv (ime) skladišca", "Naziv");
//   ...
//   if (okAccepted && required.Check(false) != 0) return kEventDone;  // the form stays open
class ReqFldClass {
  public:
    // One required control.
    struct Entry {
        std::string prompt;   // PROMPT: the prompt before it, without "&" and ":"
        std::string message;  // MSG: its status-bar message
        std::string tip;      // TIP: its tool tip
        std::string field;    // FLDNAME: the variable it edits
    };
    // A message of its own for one control.
    struct Override {
        std::string caption;
        std::string text;
    };

    // Walks the controls of `window` in field order, keeping the text of the latest prompt, and
    // lists every required entry, option group, combo, spin box, drop-down list and text box
    // under that prompt, or under the label its layout gives it. `title` is the caption of the
    // message, `messageTemplate` its text with the placeholders "@PROMPT", "@MSG", "@TIP" and
    // "@FIELD". `fields` (may be null) lets Check read the controls into their variables first.
    void Init(Window& window, std::string_view title, std::string_view messageTemplate,
              std::uint8_t flag, const FormFields* fields = nullptr);
    bool initialized() const { return window_ != nullptr; }

    // Sets the texts of one control; "&" and ":" are removed from the prompt. A listed control's
    // entry is replaced; one not listed is added only when `force`. Before Init it says
    // "ReqFldClass not initialized." and changes nothing.
    void Register(std::string_view control, bool force, std::string_view field,
                  std::string_view message, std::string_view tip, std::string_view prompt);
    // Shows `caption` and `text` instead of the template's message for that control.
    void SetOverride(std::string_view control, std::string_view caption, std::string_view text);

    // The number of the first required control (in control number order) that is empty, after
    // focusing it and showing the message; 0 when all are filled. Hidden and read-only controls,
    // and disabled ones when `skipDisabled`, are passed over.
    int Check(bool skipDisabled);
    // Shows the message for the control Check stopped at.
    void ShowMessage();

    const std::map<int, Entry>& entries() const { return entries_; }
    std::uint8_t flag() const { return flag_; }
    // The caption and text of the message for a listed control.
    Override messageFor(int control) const;

  private:
    bool ready() const;
    bool filled(Control& control) const;

    Window* window_ = nullptr;
    const FormFields* fields_ = nullptr;
    std::string title_;
    std::string template_;
    std::uint8_t flag_ = 0;
    std::map<int, Entry> entries_;
    std::map<int, Override> overrides_;
    int current_ = 0;
};

// The prompt text as the checker quotes it: every "&" and ":" removed.
std::string barePrompt(std::string_view prompt);

}  // namespace dv
