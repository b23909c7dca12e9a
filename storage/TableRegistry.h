#pragma once

#include "storage/DriverCode.h"
#include "storage/SqlConnection.h"
#include "storage/TableSql.h"

namespace dv {

// The structure of the tables of one database. Its table "_TABLES" keeps, per table, the
// structure version and the columns with their types; "_META" keeps the version of the
// Slovenian collation under which the indexes were built.

// Makes sure the stored table is the program's: FileNotFound when it is not there; a table of an
// older structure whose columns the program's still holds (unchanged or widened) gets the new
// columns (with `writable`), any other difference is refused with DriverError and a text.
// KeyInvalid when an index is missing or differs from its key.
DriverCode checkTableStructure(SqlConnection& db, const TableSql& sql, bool writable,
                               DriverError& error);
// Creates the table with its indexes and registers it; an existing table is left as it is.
DriverCode createTableStructure(SqlConnection& db, const TableSql& sql, DriverError& error);
// Rebuilds the keys over names of `schema` when they were built under other rules of the
// Slovenian order than the engine applies now, and records the rules; `builtUnder` the version
// they were built under when they were rebuilt, else empty.
DriverCode rebuildKeysUnderOtherCollation(SqlConnection& db, const std::string& schema,
                                          std::string& builtUnder, DriverError& error);
// Drops the indexes of the table and builds them again from its records.
DriverCode rebuildTableKeys(SqlConnection& db, const TableSql& sql, DriverError& error);
// For loading many records into a table at once: drops its indexes, which are then built from
// all records at the end (sorting once is far cheaper than keeping ten indexes in step with
// every insert). Records added meanwhile are not checked for duplicate keys until the indexes
// are built again; a duplicate then fails the build (DriverError).
DriverCode dropTableKeys(SqlConnection& db, const TableSql& sql, DriverError& error);
DriverCode buildTableKeys(SqlConnection& db, const TableSql& sql, DriverError& error);

}  // namespace dv
