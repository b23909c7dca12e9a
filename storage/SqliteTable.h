#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "storage/RowPage.h"
#include "storage/SqliteDatabase.h"
#include "storage/TableDriver.h"
#include "storage/TableSchema.h"
#include "storage/TableSql.h"

namespace dv {

// A table kept in the SQLite database of the directory of its file (the file name itself only
// names the table to the user). See TableDriver for the semantics.
//
// Reading in key order fetches rows a page at a time with prepared statements that seek from the
// last row read, so no statement stays open between calls and every page sees the latest
// committed data. The first page after a place is set holds 64 rows (512 in quick-scan mode);
// each further page of a pass twice as many, up to 1024.
class SqliteTable final : public TableDriver {
  public:
    SqliteTable(SqliteDatabase& db, const TableDef& table, std::filesystem::path file);
    ~SqliteTable() override;

    DriverCode open(AccessMode mode) override;
    DriverCode create() override;
    void close() override;
    bool isOpen() const override { return open_; }
    bool isReadOnly() const override { return readOnly_; }
    DriverCode rebuildKeys() override;

    DriverCode get(int key) override;
    DriverCode reget(const DriverPosition& position) override;
    DriverPosition position() const override;
    DriverCode setToStart(int key) override;
    DriverCode setToEnd(int key) override;
    DriverCode set(int key) override;
    DriverCode reset(const DriverPosition& position) override;
    DriverCode next() override { return step(true); }
    DriverCode previous() override { return step(false); }

    DriverCode add() override;
    DriverCode put() override;
    DriverCode remove() override;
    bool isDuplicate(int key, bool excludeCurrent) override;

    std::int64_t records() override;
    std::string send(std::string_view command) override;
    DriverCode stream() override;
    DriverCode flush() override;
    DriverCode beginTransaction() override;
    DriverCode commit() override;
    DriverCode rollback() override;

    // The connection and the SQL of the table (known once the table was opened or created), for
    // views that read it with statements of their own.
    SqliteDatabase& database() const { return db_; }
    const TableSql* sql() const { return sql_ ? &*sql_ : nullptr; }

  private:
    enum class PlaceKind : std::uint8_t { Start, End, At };
    // Where next/previous go on from: the start or end of the order, or key values (with the
    // row id last when they are a record's). At values, next reads the first record at or after
    // them (after them when not inclusive), previous the last one at or before them.
    struct Place {
        PlaceKind kind = PlaceKind::Start;
        std::vector<KeyValue> values;
        bool inclusive = true;
    };

    DriverCode locate(bool create, DriverError& error);
    DriverCode check(bool write);
    DriverCode checkKey(int key);
    DriverCode sqlFailure(int result, std::string_view action);
    DriverCode noRecord(std::string text);
    SqlStatement* select(int key, int equal, int after, bool forward);
    // Runs one select with `values` bound; each row found goes to `row` (statement, row id,
    // version); false from `row` stops.
    template <typename RowSink>
    DriverCode fetch(int key, int equal, int after, bool forward,
                     const std::vector<KeyValue>& values, std::int64_t limit, RowSink row);
    DriverCode fillPage(bool forward);
    DriverCode step(bool forward);
    DriverCode readExact(int key, const std::vector<KeyValue>& values);
    DriverCode missingOrChanged(std::string_view action);
    void settlePlace();
    void setPlace(int key, PlaceKind kind, std::vector<KeyValue> values = {});
    void becomeCurrent(std::int64_t row, std::int64_t version);
    std::uint64_t changeCount() const { return *changes_ + db_.rollbacks(); }
    SqlStatement* writer(SqlStatement*& cached, std::string (TableSql::*build)() const,
                         std::string_view action);
    void noteOwnChange(bool keepPage);

    SqliteDatabase& db_;
    std::filesystem::path file_;
    TableSchema layout_;
    std::optional<TableSql> sql_;
    bool open_ = false;
    bool readOnly_ = false;
    int order_ = kFileOrder;
    Place place_;
    bool placeIsCurrent_ = false;  // the place is the current record, its values not taken yet
    std::int64_t currentRow_ = 0;
    std::int64_t currentVersion_ = 0;
    std::vector<unsigned char> currentImage_;
    RowPage page_;
    std::int64_t firstPageRows_;
    std::int64_t pageRows_;
    int streams_ = 0;
    std::unordered_map<std::uint32_t, SqlStatement*> selects_;
    // Statements that write, prepared once per schema.
    SqlStatement* insert_ = nullptr;
    SqlStatement* update_ = nullptr;
    SqlStatement* remove_ = nullptr;
    std::uint64_t* changes_ = nullptr;
};

}  // namespace dv
