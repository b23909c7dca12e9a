#pragma once

#include <string_view>

#include "runtime/Layout.h"

namespace dv {

// The layout a procedure's window opens with: the embedded layout of that name, completed from
// the data dictionary where it says so (an option with `radios=rule` gets one radio per allowed
// code of its field's rule, with the rule's label as its text). Read once and kept for the life
// of the program; throws LayoutError as windowLayout does, and when an option's field has no rule.
const WindowLayout& procedureLayout(std::string_view name);

// The same completion of a layout read elsewhere (tests).
WindowLayout completeLayout(WindowLayout layout);

}  // namespace dv
