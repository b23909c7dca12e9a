#pragma once

#include <span>
#include <string_view>

#include "data/TableDef.h"

namespace dv {

// The metadata of every table of the installed catalogue (data/Catalogue.h), in the order of
// tableFiles() (the order in which start-up resolves their files).
std::span<const TableDef> dictionary();

// The table named `name`, or whose prefix is `name` ("DOKUMENT" or "DOK"), case-insensitive;
// nullptr when there is none.
const TableDef* findTable(std::string_view name);

}  // namespace dv
