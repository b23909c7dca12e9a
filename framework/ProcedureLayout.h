#pragma once

#include <string>
#include <string_view>

#include "data/TableDef.h"
#include "runtime/Layout.h"

namespace dv {

// The layout a procedure's window opens with: the embedded layout of that name, completed from
// the data dictionary where it says so (an option with `radios=rule` gets one radio per allowed
// code of its field's rule, with the rule's label as its text). Read once and kept for the life
// of the program; throws LayoutError as windowLayout does, and when an option's field has no rule.
const WindowLayout& procedureLayout(std::string_view name);

// The same completion of a layout read elsewhere (tests).
WindowLayout completeLayout(WindowLayout layout);

// The key a layout names in `table`; throws std::invalid_argument when it has none by that name.
int layoutKey(const TableDef& table, const std::string& key);
// The order a declared list starts in: its `order=`, else the key of its first column that
// sorts; empty when it has neither.
std::string listOrder(const ControlLayout& list);

}  // namespace dv
