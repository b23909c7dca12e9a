#pragma once

#include <optional>
#include <string>
#include <vector>

#include "storage/SqliteDatabase.h"

namespace dv {

// Runs one statement that only reads, on the program's own connection, and gives its result as
// text: rows joined by "\n", columns by "|", NULL as an empty text. Every database attached to
// the connection is seen; an unqualified table name is looked up in the order they were
// attached.
//
// Nothing, with the reason in `error`, when the statement fails or is refused: one that would
// write (sqlite3_stmt_readonly) or change the connection itself (a transaction, a savepoint,
// ATTACH, DETACH, PRAGMA), more than one statement, an empty one, and any statement while a
// transaction of the program runs, since it would see changes that are not yet committed.
std::optional<std::string> queryAsText(SqliteDatabase& database, const std::string& sql,
                                       std::string& error);

class PostgresDatabase;

// The same on the server, in a read-only transaction whose search path is `schemas` (the data
// directory's first): only one SELECT (or WITH) statement, and none while a transaction of the
// program runs. Truth values come as 1 and 0, as the embedded database gives them.
std::optional<std::string> queryAsText(PostgresDatabase& database,
                                       const std::vector<std::string>& schemas,
                                       const std::string& sql, std::string& error);

}  // namespace dv
