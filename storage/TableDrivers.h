#pragma once

#include <filesystem>
#include <memory>

#include "data/TableDef.h"
#include "storage/SqlConnection.h"
#include "storage/TableDriver.h"

namespace dv {

// Whether the table is kept as a text file (the capture file: a table registered with no
// structure version) rather than in the database.
bool isTextFileTable(const TableDef& table);

// The driver that keeps `table` in `file`: a text file with the capture file's driver options
// for a text-file table, else the table in the SQLite database of the file's directory.
std::unique_ptr<TableDriver> makeTableDriver(SqlConnection& db, const TableDef& table,
                                             const std::filesystem::path& file);

}  // namespace dv
