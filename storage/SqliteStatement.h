#pragma once

#include <sqlite3.h>

#include <cstdint>
#include <string_view>

#include "storage/SqlStatement.h"

namespace dv {

// One prepared SQLite statement. The accessors are inline so that the record moves (see
// SqlRecordColumns.h) call SQLite directly.
class SqliteStatement final : public SqlStatement {
  public:
    SqliteStatement(sqlite3* db, std::string_view sql);
    ~SqliteStatement() override;

    // SQLITE_OK when the statement was prepared; else the error code of the preparation.
    int prepareResult() const { return prepareResult_; }
    sqlite3_stmt* handle() const { return statement_; }
    // The SQLite result of the last step.
    int lastResult() const { return lastResult_; }

    using SqlStatement::bind;
    void bind(int index, std::int64_t value) override {
        sqlite3_bind_int64(statement_, index, value);
    }
    // The text is copied by SQLite. Empty text is bound as '' (a null pointer would bind NULL).
    void bind(int index, std::string_view text) override {
        sqlite3_bind_text64(statement_, index, text.empty() ? "" : text.data(), text.size(),
                            SQLITE_TRANSIENT, SQLITE_UTF8);
    }

    StepResult step() override {
        lastResult_ = sqlite3_step(statement_);
        if (lastResult_ == SQLITE_ROW) return StepResult::Row;
        return lastResult_ == SQLITE_DONE ? StepResult::Done : StepResult::Failed;
    }
    void reset() override { sqlite3_reset(statement_); }

    int columnCount() const override { return sqlite3_column_count(statement_); }
    std::int64_t integer(int column) const override {
        return sqlite3_column_int64(statement_, column);
    }
    std::string_view text(int column) const override {
        const auto* bytes = sqlite3_column_text(statement_, column);
        if (bytes == nullptr) return {};
        return std::string_view(reinterpret_cast<const char*>(bytes),
                                static_cast<std::size_t>(sqlite3_column_bytes(statement_, column)));
    }

    DriverError failure(std::string_view action) const override;
    std::int64_t changes() const override { return sqlite3_changes64(db_); }
    std::int64_t insertedRow() const override { return sqlite3_last_insert_rowid(db_); }

    void bindRecord(const TableSchema& layout, const void* record) override;
    void bindColumns(const TableSchema& layout, const void* record,
                     const std::vector<int>& columns) override;
    void readRecord(int first, const TableSchema& layout, const ColumnSelection* selection,
                    void* record) const override;

  private:
    sqlite3* db_;
    sqlite3_stmt* statement_ = nullptr;
    int prepareResult_;
    int lastResult_ = SQLITE_OK;
};

}  // namespace dv
