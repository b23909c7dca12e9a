#pragma once

#include <sqlite3.h>

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "data/TableDef.h"
#include "runtime/FixedDecimal.h"
#include "runtime/FixedText.h"
#include "storage/SqliteDatabase.h"
#include "storage/SqliteTable.h"

namespace dv::test {

// A fresh directory under the system's temporary directory, removed with its contents.
class TempDirectory {
  public:
    TempDirectory();
    ~TempDirectory();
    TempDirectory(const TempDirectory&) = delete;
    TempDirectory& operator=(const TempDirectory&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(std::string_view name) const { return path_ / name; }

  private:
    std::filesystem::path path_;
};

// A small table made for the tests: a unique code, a name ordered the Slovenian way without
// regard to case, a number with a date ordered newest first, a decimal and an array.
struct PersonRecord {
    FixedText<8> Code;
    FixedText<20> Name;
    std::int32_t Number;
    FixedDecimal<9, 3> Amount;
    std::int32_t Day;
    std::array<std::uint16_t, 3> Counts;
};

// The same table in its next structure version: one more text column and one more key.
struct PersonRecordV2 {
    FixedText<8> Code;
    FixedText<20> Name;
    std::int32_t Number;
    FixedDecimal<9, 3> Amount;
    std::int32_t Day;
    std::array<std::uint16_t, 3> Counts;
    FixedText<10> Note;
};

enum PeopleKey : int { CodeKey = 0, NameKey = 1, NumberKey = 2 };

const TableDef& peopleTable();
const TableDef& peopleTableV2();
// Version 2 in which Amount has 2 places instead of 3: its stored units would mean other values.
const TableDef& peopleTableIncompatible();
// The company table kept in the parent directory ("..\PEOPLE.TPS").
const TableDef& companyTable();

PersonRecord person(std::string_view code, std::string_view name = "", int number = 0, int day = 0);

// Opens (creating when missing) `table` kept in `directory` of `db`, with its buffer.
std::unique_ptr<SqliteTable> openTable(SqlConnection& db, const TableDef& table,
                                       const std::filesystem::path& directory,
                                       void* buffer = nullptr);

// Adds the records through the driver and fails the test on any error.
void addAll(SqliteTable& driver, const std::vector<PersonRecord>& people);

// Reads every record of the order `key` forward (or backward) and gives the trimmed codes.
std::vector<std::string> codesInOrder(SqliteTable& driver, int key, bool forward = true);
// Reads on with next() until the end and gives the trimmed codes.
std::vector<std::string> readCodes(SqliteTable& driver, bool forward = true);

// A plain SQLite connection to a database file (with the Slovenian collation), for looking
// behind the engine.
class RawDatabase {
  public:
    explicit RawDatabase(const std::filesystem::path& file);
    ~RawDatabase();
    sqlite3* handle() const { return db_; }
    // Runs the statements; returns the SQLite result.
    int exec(const std::string& sql);
    // The first column of the first row as text ("" when none).
    std::string scalar(const std::string& sql);

  private:
    sqlite3* db_ = nullptr;
};

// Runs `work` in a child process without the rights of the super-user when the tests run as
// root (so that file permissions apply); returns the child's exit status, or what `work`
// returns when no child is needed.
int runWithoutPrivileges(const std::function<int()>& work);

}  // namespace dv::test
