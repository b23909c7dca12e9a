#pragma once

#include "framework/WindowComponent.h"
#include "runtime/Window.h"

namespace dv {

class FormFields;

// The caption of the date picker F6 opens.
inline constexpr const char* kCalendarCaption = "Koledar";

// The keyboard aids of every data-entry form, as a component of its window procedure:
//
// - Enter moves to the next field as Tab does. On a button it presses the button, in a list it
//   is the list's own selection key, and in a text box it stays a line break (the user moves
//   on with Tab): there the runtime's own handling of Enter is kept.
// - F6 on a date field copies the field into its variable and opens the date picker "Koledar"
//   at the field's date (today when it is empty). A date chosen replaces the field's text, which
//   counts as typed, so that leaving the field accepts it as any typed date; a cancelled picker
//   leaves the field as it was.
class FormKeyboard : public WindowComponent {
  public:
    // Alerts Enter on the controls where it moves on and F6 on the date fields of `window`.
    // `fields` (may be null) links the controls to their variables.
    FormKeyboard(Window& window, const FormFields* fields);

    EventResult TakeEvent(const Event& event) override;

    // Enter as the next-field key on `control`.
    void nextField(Control& control);
    // The calendar on a date field; whether a date was chosen.
    bool calendar(Control& control);

  private:
    Window& window_;
    const FormFields* fields_;
};

// Whether a control edits a date (its picture is a date picture).
bool isDateField(const Control& control);

}  // namespace dv
