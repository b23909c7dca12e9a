#pragma once

#include <optional>
#include <string>

#include "storage/TableAccess.h"

namespace dv {

// The first table of the company's data that already holds rows, described for the user
// ("tabela ARTIKLI ni prazna (število zapisov: 12)"); nothing when every table is empty or does not
// exist yet. The company tables of the parent directory do not count: sibling companies share them.
// Looking creates no database and no table. A table that exists but cannot be read throws
// DemoFailure.
std::optional<std::string> findTableWithRows(TableAccess& access);

}  // namespace dv
