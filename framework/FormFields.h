#pragma once

#include <map>

#include "framework/FormVariable.h"
#include "runtime/Window.h"

namespace dv {

// The link between the input controls of a window and the variables they edit, by the controls'
// names (see FormVariable): displaying copies the variables into the controls, shown in the
// controls' pictures; updating reads the controls' text back into the variables. Entries, spin
// boxes, text boxes, combo and drop-down lists, check boxes and option groups take part.
class FormFields {
  public:
    // Binds every input control of `window` whose name names a variable.
    explicit FormFields(Window& window);

    Window& window() const { return window_; }
    // The variable the control edits, nullptr when it edits none.
    const FormVariable* variableOf(const Control& control) const;

    // Every bound control shows its variable, except those the user is typing into (their text
    // is not read yet and would be lost).
    void display() const;
    // The control shows its variable.
    void display(Control& control) const;
    // Reads the control's text into its variable. False, and the variable unchanged, when the
    // control edits none or its text does not fit the picture or the variable.
    bool update(const Control& control) const;
    // Every bound control read into its variable (those whose text does not fit are left out).
    void updateAll() const;
    // The bound controls the user typed into since they were last accepted.
    void updateChanged() const;

  private:
    Window& window_;
    std::map<int, FormVariable> bound_;  // by control number
};

// The text a control shows for a value: in the control's picture when it has one.
std::string controlText(const Control& control, const ExpressionValue& value);
// The value a control's text stands for, read through its picture; nothing when the text does
// not fit the picture. `kind` is the kind of the variable it goes to.
std::optional<ExpressionValue> controlValue(const Control& control, ValueKind kind);

}  // namespace dv
