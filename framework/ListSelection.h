#pragma once

#include <string_view>

namespace dv {

// Calls the list `name` of the program for a selection (ReqSelect) on the caller's thread, as a
// lookup does. True when the user chose a record, which then stands in the record buffer of the
// list's table. A list the program does not have raises message 24 "Procedure not defined" with
// its name, and nothing is chosen.
bool selectFromList(std::string_view name);

// Whether the program has the list (a lookup that only offers it when it exists).
bool hasList(std::string_view name);

}  // namespace dv
