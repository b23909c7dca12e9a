#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "storage/SqlConnection.h"

namespace dv {

class PostgresDatabase;

// The rows one table gave to the server.
struct CopiedTable {
    std::string table;
    std::int64_t rows = 0;
};

enum class CopyResult : std::uint8_t { Copied, Refused, Failed };

struct CopyOutcome {
    CopyResult result = CopyResult::Failed;
    std::vector<CopiedTable> tables;  // in start-up order; only when copied
    std::string message;              // why not (Slovenian); empty when copied

    bool ok() const { return result == CopyResult::Copied; }
    std::int64_t totalRows() const;
};

// Called after each table was copied, inside the transaction (nothing is committed yet).
using CopyProgress = std::function<void(const CopiedTable&)>;

// Copies the tables of a program directory and of its company directory (every table of the
// installed catalogue kept in a database, where the table file names resolved at start put it:
// data/TableFileNames.h) from `source` into the empty server database of `target`, in one
// transaction.
//
// The server ends up as the program would have made it there itself: a schema per data
// directory, registered by the directory's path; each table made by the engine's own code for a
// new table, its rows with their row ids and versions, its keys built once the rows are in, and
// its row ids numbered on past the highest one copied. Tables that the source does not hold yet
// are left for the program to make when it first needs them, as it does on the source.
//
// Refused, with nothing changed: a program directory whose own tables (the company tables of the
// parent apart, which sibling companies share) hold no row; a server database that holds data,
// that is, one that records any data directory already or holds a schema of the program's
// naming ("d1", "d2", ...) left from earlier work. Failed: a source that cannot be read, a server
// that cannot be used, any statement the server refuses and a connection lost on the way; the
// transaction is rolled back then, so the server keeps nothing of the copy. `target` serves this
// copy alone: after a failure it still takes the rolled-back schemas for made.
CopyOutcome copyToServer(SqlConnection& source, const std::filesystem::path& programDirectory,
                         PostgresDatabase& target, const CopyProgress& progress = {});

}  // namespace dv
