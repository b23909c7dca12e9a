#pragma once

#include <sqlite3.h>

#include <cstdint>
#include <filesystem>
#include <string>

#include "bench/RawDatabase.h"
#include "runtime/Decimal.h"

namespace dv::bench {

// Stocktake 1 of unit 1 (retail) chosen, as the stocktake lists leave it in GLO.
void selectStocktake();

// A plain connection to the program's database as the raw sides use it: the collation of the
// noCase keys and the page cache the program's connection has.
sqlite3* openRaw(const std::filesystem::path& database);

// The first preparation of the template of stocktake 1 of unit 1 (retail) with the database
// alone: the same reads of ARTIKLI (item-code order) and ZALOGA (by unit and item) and the same
// inserts into INVENDET (the count starting at the book quantity), with statements prepared once
// and each run in one transaction. `Raw` is SqliteRaw or ServerRaw.
template <typename Raw>
class RawTemplate {
  public:
    explicit RawTemplate(Raw& db);
    RawTemplate(const RawTemplate&) = delete;
    RawTemplate& operator=(const RawTemplate&) = delete;
    // The rows written.
    std::int64_t run();

  private:
    using Statement = typename Raw::Statement;
    Raw& db_;
    Statement items_;
    Statement stock_;
    Statement insert_;
};

// The import of a capture file into stocktake 1 of unit 1 (retail) with the database alone: the
// file read line by line, the three item lookups, the template line, the code's last archived
// counter and the highest record number read per line, the archive record added and the template
// line updated or added, in one transaction; then the copy written into `archive` and flushed and
// the file removed. Statements prepared once.
template <typename Raw>
class RawImport {
  public:
    explicit RawImport(Raw& db);
    RawImport(const RawImport&) = delete;
    RawImport& operator=(const RawImport&) = delete;
    void run(const std::filesystem::path& capture, const std::filesystem::path& archive);

  private:
    using Statement = typename Raw::Statement;
    bool found(const std::string& code);

    Raw& db_;
    Statement item_;
    Statement line_;
    Statement last_;
    Statement highest_;
    Statement archive_;
    Statement update_;
    Statement insert_;
};

// The posting of the differences of stocktake 1 of unit 1 (retail) with the database alone (see
// StocktakeBenchmarks.cpp), the owner's partner `owner`, over a template of `templateRows`
// rows; the document lines written.
template <typename Raw>
std::int64_t rawPosting(Raw& db, std::int64_t owner, std::int64_t templateRows);

}  // namespace dv::bench
