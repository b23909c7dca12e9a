#pragma once

#include <sqlite3.h>

#include <cstdint>
#include <string>
#include <string_view>

#include "storage/TableDriver.h"

namespace dv {

// One prepared SQLite statement. Values are always bound as parameters (1-based).
class SqlStatement {
  public:
    SqlStatement(sqlite3* db, std::string_view sql);
    ~SqlStatement();
    SqlStatement(const SqlStatement&) = delete;
    SqlStatement& operator=(const SqlStatement&) = delete;

    // SQLITE_OK when the statement was prepared; else the error code of the preparation.
    int prepareResult() const { return prepareResult_; }
    sqlite3_stmt* handle() const { return statement_; }

    void bind(int index, std::int64_t value) { sqlite3_bind_int64(statement_, index, value); }
    // The text is copied by SQLite. Empty text is bound as '' (a null pointer would bind NULL).
    void bind(int index, std::string_view text) {
        sqlite3_bind_text64(statement_, index, text.empty() ? "" : text.data(), text.size(),
                            SQLITE_TRANSIENT, SQLITE_UTF8);
    }
    void bind(int index, const KeyValue& value);

    // SQLITE_ROW, SQLITE_DONE or an error code.
    int step() { return sqlite3_step(statement_); }
    void reset() { sqlite3_reset(statement_); }

    std::int64_t integer(int column) const { return sqlite3_column_int64(statement_, column); }
    // Valid until the next step or reset.
    std::string_view text(int column) const;

  private:
    sqlite3_stmt* statement_ = nullptr;
    int prepareResult_;
};

// Resets a statement when the scope ends, so that it never holds the database.
class StatementUse {
  public:
    explicit StatementUse(SqlStatement& statement) : statement_(statement) {}
    ~StatementUse() { statement_.reset(); }
    StatementUse(const StatementUse&) = delete;
    StatementUse& operator=(const StatementUse&) = delete;

  private:
    SqlStatement& statement_;
};

}  // namespace dv
