#pragma once

#include <string_view>

#include "schema/ProgramGlobals.h"

namespace dv {

// The second level of the item groups holds subgroups, or suppliers where the setting
// "PodgrupaDobavitelj" is 1. Only the labels follow the setting; the records are the same.
inline bool subgroupsAreSuppliers() {
    return GLO.PODGRUPADOBAVITELJ == 1;
}

// "PODSKUPINE", or "DOBAVITELJI" where the second level holds suppliers.
inline std::string_view subgroupHeading() {
    return subgroupsAreSuppliers() ? "DOBAVITELJI" : "PODSKUPINE";
}

}  // namespace dv
