#pragma once

#include <sqlite3.h>

#include <string_view>

#include "storage/DriverCode.h"

namespace dv {

// The driver code and a sentence for a failed SQLite call: "Could not <action>: <reason>
// (<SQLite's message>)". Read right after the failing call, while SQLite still holds its message.
DriverError sqliteFailure(sqlite3* db, int result, std::string_view action);

}  // namespace dv
