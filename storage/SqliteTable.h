#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "storage/KeysetCursor.h"
#include "storage/SqlRecord.h"
#include "storage/SqlConnection.h"
#include "storage/TableDriver.h"
#include "storage/TableSchema.h"
#include "storage/TableSql.h"

namespace dv {

// A table kept in the schema of the directory of its file, on the connection's engine (the file
// name itself only names the table to the user). See TableDriver for the semantics.
//
// Reading in key order goes through a KeysetCursor: rows come a page at a time from selects that
// seek from the last row read, so no statement stays open between calls and every page sees the
// latest committed data. The first page of a pass holds 64 rows (512 in quick-scan mode); each
// further page twice as many, up to 1024. The place of next/previous is the record they read
// last, as it was read: get, reget and the writes change the current record but not the place.
class SqliteTable final : public TableDriver {
  public:
    SqliteTable(SqlConnection& db, const TableDef& table, std::filesystem::path file);
    ~SqliteTable() override;

    DriverCode open(AccessMode mode) override;
    DriverCode create() override;
    void close() override;
    bool isOpen() const override { return open_; }
    bool isReadOnly() const override { return readOnly_; }
    DriverCode rebuildKeys() override;
    void readFields(const std::vector<int>& fields) override;

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
    SqlConnection& database() const { return db_; }
    const TableSql* sql() const { return sql_ ? &*sql_ : nullptr; }

  private:
    DriverCode locate(bool create, DriverError& error);
    std::string switchKeys(std::string_view value);
    DriverCode check(bool write);
    DriverCode checkKey(int key);
    DriverCode sqlFailure(const SqlStatement& statement, std::string_view action);
    DriverCode noRecord(std::string text);
    DriverCode step(bool forward);
    DriverCode readExact(int key, const std::vector<KeyValue>& values);
    DriverCode missingOrChanged(std::string_view action);
    DriverCode setPlace(int key, KeysetPlace place);
    void becomeCurrent(std::int64_t row, std::int64_t version);
    SqlStatement* partialUpdate(std::string_view action);
    SqlStatement* writer(SqlStatement*& cached, std::string (TableSql::*build)() const,
                         std::string_view action);

    SqlConnection& db_;
    std::filesystem::path file_;
    TableSchema layout_;
    std::optional<TableSql> sql_;
    bool open_ = false;
    bool readOnly_ = false;
    // The current record: the one read or added last.
    std::int64_t currentRow_ = 0;
    std::int64_t currentVersion_ = 0;
    std::vector<unsigned char> currentImage_;
    KeysetCursor cursor_;
    int streams_ = 0;
    // Statements that write, prepared once per schema.
    SqlStatement* insert_ = nullptr;
    SqlStatement* update_ = nullptr;
    SqlStatement* remove_ = nullptr;
    // Updates of some columns only, by the columns they set: a change that leaves the columns
    // of an index alone does not touch that index.
    std::map<std::vector<int>, SqlStatement*> partialUpdates_;
    // The selects of the row ids with a key's values, by key (see isDuplicate).
    std::map<int, SqlStatement*> rowIdSelects_;
    std::vector<int> changed_;
    // The columns read, when not every one is (see readFields).
    std::optional<ColumnSelection> selection_;
};

}  // namespace dv
