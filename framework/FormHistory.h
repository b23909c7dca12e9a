#pragma once

#include <optional>
#include <vector>

#include "framework/FormVariable.h"

namespace dv {

// The history ("ditto") fields of a form: for each, the control, the variable it edits and the
// value last saved there. A save remembers the current values; the history key brings a
// control's remembered value back into its variable.
class FormHistory {
  public:
    void add(int control, const FormVariable& variable);
    bool empty() const { return entries_.empty(); }
    bool has(int control) const { return find(control) != nullptr; }

    // Remembers the current value of every history field (after a save).
    void remember();
    // Puts the remembered value of `control` back into its variable. False when the control is
    // no history field or nothing was saved yet.
    bool recall(int control) const;
    // The remembered value, nothing before the first save.
    std::optional<ExpressionValue> lastSaved(int control) const;

  private:
    struct Entry {
        int control;
        FormVariable variable;
        std::optional<ExpressionValue> saved;
    };
    const Entry* find(int control) const;

    std::vector<Entry> entries_;
};

}  // namespace dv
