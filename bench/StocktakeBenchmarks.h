#pragma once

#include <sqlite3.h>

#include <cstdint>
#include <filesystem>
#include <string>

#include "runtime/Decimal.h"

namespace dv::bench {

void check(bool ok, const std::string& what);

// A statement prepared once for the life of a raw run, with its binds and columns.
struct Statement {
    Statement(sqlite3* db, const char* sql) {
        check(sqlite3_prepare_v3(db, sql, -1, SQLITE_PREPARE_PERSISTENT, &handle, nullptr) ==
                  SQLITE_OK,
              sqlite3_errmsg(db));
    }
    ~Statement() { sqlite3_finalize(handle); }
    Statement& text(int i, const std::string& value) {
        sqlite3_bind_text(handle, i, value.c_str(), static_cast<int>(value.size()), SQLITE_TRANSIENT);
        return *this;
    }
    Statement& number(int i, std::int64_t value) {
        sqlite3_bind_int64(handle, i, value);
        return *this;
    }
    bool row() { return sqlite3_step(handle) == SQLITE_ROW; }
    void run() {
        check(sqlite3_step(handle) == SQLITE_DONE, "step");
        sqlite3_reset(handle);
    }
    std::int64_t integer(int c) const { return sqlite3_column_int64(handle, c); }
    std::string string(int c) const {
        const auto* text = sqlite3_column_text(handle, c);
        return text != nullptr ? reinterpret_cast<const char*>(text) : "";
    }
    void reset() { sqlite3_reset(handle); }
    sqlite3_stmt* handle = nullptr;
};

// Stocktake 1 of unit 1 (retail) chosen, as the stocktake lists leave it in GLO.
void selectStocktake();

// A plain connection to the program's database as the raw sides use it: the collation of the
// noCase keys and the page cache the program's connection has.
sqlite3* openRaw(const std::filesystem::path& database);
sqlite3_stmt* prepare(sqlite3* db, const char* sql);

// The first preparation of the template of stocktake 1 of unit 1 (retail) with SQLite alone:
// the same reads of ARTIKLI (item-code order) and ZALOGA (by unit and item) and the same inserts
// into INVENDET (the count starting at the book quantity), with statements prepared once and
// each run in one transaction.
class RawTemplate {
  public:
    explicit RawTemplate(sqlite3* db);
    ~RawTemplate();
    RawTemplate(const RawTemplate&) = delete;
    RawTemplate& operator=(const RawTemplate&) = delete;
    // The rows written.
    std::int64_t run();

  private:
    sqlite3* db_;
    sqlite3_stmt* items_;
    sqlite3_stmt* stock_;
    sqlite3_stmt* insert_;
};

// The import of a capture file into stocktake 1 of unit 1 (retail) with SQLite alone: the file
// read line by line, the three item lookups, the template line, the code's last archived counter
// and the highest record number read per line, the archive record added and the template line
// updated or added, in one transaction; then the copy written into `archive` and flushed and the
// file removed. Statements prepared once.
class RawImport {
  public:
    explicit RawImport(sqlite3* db);
    ~RawImport();
    RawImport(const RawImport&) = delete;
    RawImport& operator=(const RawImport&) = delete;
    void run(const std::filesystem::path& capture, const std::filesystem::path& archive);

  private:
    bool found(const std::string& code);
    void step(sqlite3_stmt* statement);

    sqlite3* db_;
    sqlite3_stmt* item_;
    sqlite3_stmt* line_;
    sqlite3_stmt* last_;
    sqlite3_stmt* highest_;
    sqlite3_stmt* archive_;
    sqlite3_stmt* update_;
    sqlite3_stmt* insert_;
};

// The posting of the differences of stocktake 1 of unit 1 (retail) with SQLite alone (see
// StocktakeBenchmarks.cpp), the owner's partner `owner`, over a template of `templateRows`
// rows; the document lines written.
std::int64_t rawPosting(sqlite3* db, std::int64_t owner, std::int64_t templateRows);

}  // namespace dv::bench
