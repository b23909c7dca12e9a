#pragma once

#include <string>
#include <string_view>

#include "runtime/ProcedureCall.h"

namespace dv {

// One order a code-list printout can be sorted in: its key and its name in the closing band.
struct PrintOrder {
    std::string key;
    std::string name;
};

// Prints every record of `table` in the first order, or in the second when GLO:SORT is 2; the
// closing band says which ("Razvrščanje: ..." in LOC:Razvrscanje).
Response printSortedCodeList(std::string_view procedure, std::string table, const PrintOrder& first,
                             const PrintOrder& second);

}  // namespace dv
