#pragma once

#include <libpq-fe.h>
#include <sqlite3.h>

#include <charconv>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

// The raw sides of the benchmarks: the same statements the table engine runs, written once in
// SQLite's words and run on either engine through its own client library directly, with
// statements prepared once. The benchmarks' raw code is written against the two connection types
// below (SqliteRaw, ServerRaw) as template code, so that both engines run the same steps.

namespace dv::bench {

void check(bool ok, const std::string& what);

class SqliteRaw;

// A statement prepared once for the life of a raw run, with its binds and columns.
struct Statement {
    Statement(sqlite3* db, const char* sql) {
        check(sqlite3_prepare_v3(db, sql, -1, SQLITE_PREPARE_PERSISTENT, &handle, nullptr) ==
                  SQLITE_OK,
              sqlite3_errmsg(db));
    }
    Statement(SqliteRaw& db, const char* sql);
    ~Statement() { sqlite3_finalize(handle); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;
    Statement& text(int i, std::string_view value) {
        sqlite3_bind_text(handle, i, value.data(), static_cast<int>(value.size()), SQLITE_TRANSIENT);
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
    // Valid until the next step or reset.
    std::string_view view(int c) const {
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(handle, c));
        return text != nullptr
                   ? std::string_view(text, static_cast<std::size_t>(sqlite3_column_bytes(handle, c)))
                   : std::string_view();
    }
    void reset() { sqlite3_reset(handle); }
    sqlite3_stmt* handle = nullptr;
};

// A plain connection to the program's SQLite database (opened by the caller).
class SqliteRaw {
  public:
    using Statement = bench::Statement;
    explicit SqliteRaw(sqlite3* db) : db_(db) {}
    sqlite3* handle() const { return db_; }
    void exec(const char* sql) {
        check(sqlite3_exec(db_, sql, nullptr, nullptr, nullptr) == SQLITE_OK, sqlite3_errmsg(db_));
    }
    // A transaction that will write, and one that only reads.
    void beginWrite() { exec("BEGIN IMMEDIATE"); }
    void beginRead() { exec("BEGIN"); }
    void commit() { exec("COMMIT"); }
    // The rows the last write changed.
    std::int64_t changes() const { return sqlite3_changes(db_); }

  private:
    sqlite3* db_;
};

inline Statement::Statement(SqliteRaw& db, const char* sql) : Statement(db.handle(), sql) {}

class ServerRaw;

// A statement prepared on the server (PQprepare), run with PQexecPrepared and text parameters;
// the rows of a run arrive at once and are read from its result. The SQL is given in SQLite's
// words and translated (see serverSql). As the engine's statements do, it is prepared anew at
// runs 16, 64, 256, ... so that the server's plan follows the growth of its tables.
class ServerStatement {
  public:
    ServerStatement(ServerRaw& db, const char* sql);
    ~ServerStatement() { reset(); }
    ServerStatement(const ServerStatement&) = delete;
    ServerStatement& operator=(const ServerStatement&) = delete;

    ServerStatement& text(int i, std::string_view value) {
        parameters_[static_cast<std::size_t>(i - 1)].assign(value.data(), value.size());
        return *this;
    }
    ServerStatement& number(int i, std::int64_t value) {
        char digits[24];
        const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
        parameters_[static_cast<std::size_t>(i - 1)].assign(digits, end);
        return *this;
    }
    // Runs the statement at the first call, then moves to the next row of its result.
    bool row();
    void run();
    std::int64_t integer(int c) const {
        const char* digits = PQgetvalue(result_, row_, c);
        std::int64_t value = 0;
        std::from_chars(digits, digits + PQgetlength(result_, row_, c), value);
        return value;
    }
    std::string string(int c) const { return std::string(view(c)); }
    std::string_view view(int c) const {
        return std::string_view(PQgetvalue(result_, row_, c),
                                static_cast<std::size_t>(PQgetlength(result_, row_, c)));
    }
    void reset() {
        PQclear(result_);
        result_ = nullptr;
    }

  private:
    PGresult* execute();

    ServerRaw& db_;
    std::string sql_;
    std::string name_;
    std::uint64_t runs_ = 0;
    std::uint64_t replanAt_ = 16;
    std::vector<std::string> parameters_;
    std::vector<const char*> values_;
    PGresult* result_ = nullptr;
    int row_ = 0;
};

// A plain libpq connection to a database of the cluster, its search path the schema that holds
// the tables of `directory` (as the table engine registered it).
class ServerRaw {
  public:
    using Statement = ServerStatement;
    ServerRaw(const std::string& connection, const std::filesystem::path& directory);
    ~ServerRaw();
    ServerRaw(const ServerRaw&) = delete;
    ServerRaw& operator=(const ServerRaw&) = delete;

    PGconn* handle() const { return conn_; }
    void exec(const char* sql);
    void beginWrite() { exec("BEGIN"); }
    // The engine's read snapshot: one state of the database, reads only.
    void beginRead() { exec("BEGIN ISOLATION LEVEL REPEATABLE READ READ ONLY"); }
    void commit() { exec("COMMIT"); }
    std::int64_t changes() const { return changes_; }
    void noteChanges(std::int64_t rows) { changes_ = rows; }
    std::string nextName() { return "raw" + std::to_string(++statements_); }

  private:
    PGconn* conn_ = nullptr;
    std::int64_t changes_ = 0;
    int statements_ = 0;
};

// SQL in SQLite's words as the server reads it: "?n" parameters become "$n", the dictionary's
// names stay unquoted (the server keeps them in lower case, as it folds them), the engine's own
// columns ("_ROW") are quoted, IFNULL becomes COALESCE and the Slovenian collation
// becomes the server's.
std::string serverSql(std::string_view sql);

}  // namespace dv::bench
