#include "storage/ReadOnlyQuery.h"

#include <cctype>
#include <memory>

#include "runtime/TextCase.h"
#include "storage/PostgresDatabase.h"
#include "storage/TableSql.h"

namespace dv {
namespace {

struct FinalizeStatement {
    void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
};
using Statement = std::unique_ptr<sqlite3_stmt, FinalizeStatement>;

// Lets a statement read tables and call functions and nothing else: no write, and nothing that
// changes the program's connection under its feet (transactions, ATTACH, DETACH, PRAGMA).
int allowOnlyReading(void* refused, int action, const char*, const char*, const char*,
                     const char*) {
    switch (action) {
        case SQLITE_SELECT:
        case SQLITE_READ:
        case SQLITE_FUNCTION:
        case SQLITE_RECURSIVE:
            return SQLITE_OK;
        default:
            *static_cast<bool*>(refused) = true;
            return SQLITE_DENY;
    }
}

// Prepares the first statement of `sql` under allowOnlyReading; SQLite's result code. The
// connection has no authorizer of its own, so none is put back afterwards.
int prepareReading(sqlite3* db, const std::string& sql, Statement& statement, const char*& tail,
                   bool& refused) {
    sqlite3_set_authorizer(db, allowOnlyReading, &refused);
    sqlite3_stmt* raw = nullptr;
    const int result = sqlite3_prepare_v2(db, sql.c_str(), -1, &raw, &tail);
    sqlite3_set_authorizer(db, nullptr, nullptr);
    statement.reset(raw);
    return result;
}

bool onlyBlanksAndSemicolons(const char* text) {
    for (; text && *text; ++text)
        if (*text != ' ' && *text != '\n' && *text != '\t' && *text != ';' && *text != '\r')
            return false;
    return true;
}

std::string rowText(sqlite3_stmt* statement) {
    std::string row;
    const int columns = sqlite3_column_count(statement);
    for (int c = 0; c < columns; ++c) {
        if (c > 0) row += '|';
        if (const unsigned char* text = sqlite3_column_text(statement, c))
            row += reinterpret_cast<const char*>(text);
    }
    return row;
}

}  // namespace

std::optional<std::string> queryAsText(SqliteDatabase& database, const std::string& sql,
                                       std::string& error) {
    sqlite3* db = database.handle();
    if (db == nullptr) {
        error = "the database engine could not be started";
        return std::nullopt;
    }
    // A read snapshot holds no changes; ended, the query sees the data as they are now.
    database.endReadSnapshot();
    if (database.transactionDepth() > 0 || !sqlite3_get_autocommit(db)) {
        error = "a transaction is running, whose changes are not committed yet";
        return std::nullopt;
    }
    Statement statement;
    const char* tail = nullptr;
    bool refused = false;
    if (prepareReading(db, sql, statement, tail, refused) != SQLITE_OK) {
        error = refused ? "only a statement that reads may be given" : sqlite3_errmsg(db);
        return std::nullopt;
    }
    if (!onlyBlanksAndSemicolons(tail)) {
        error = "only one statement may be given";
        return std::nullopt;
    }
    if (!statement) {
        error = "the query is empty";
        return std::nullopt;
    }
    if (!sqlite3_stmt_readonly(statement.get())) {
        error = "only a statement that reads may be given";
        return std::nullopt;
    }
    std::string result;
    int rc;
    for (bool first = true; (rc = sqlite3_step(statement.get())) == SQLITE_ROW; first = false) {
        if (!first) result += '\n';
        result += rowText(statement.get());
    }
    if (rc != SQLITE_DONE) {
        error = sqlite3_errmsg(db);
        return std::nullopt;
    }
    return result;
}

namespace {

struct ClearResult {
    void operator()(PGresult* result) const { PQclear(result); }
};
using Result = std::unique_ptr<PGresult, ClearResult>;

bool startsWithWord(std::string_view sql, std::string_view word) {
    std::size_t at = 0;
    while (at < sql.size() && std::isspace(static_cast<unsigned char>(sql[at]))) ++at;
    sql.remove_prefix(at);
    if (sql.size() < word.size() || !equalsIgnoreCaseAscii(sql.substr(0, word.size()), word))
        return false;
    return sql.size() == word.size() || !std::isalnum(static_cast<unsigned char>(sql[word.size()]));
}

std::string cellText(PGresult* result, int row, int column) {
    if (PQgetisnull(result, row, column)) return "";
    std::string text(PQgetvalue(result, row, column),
                     static_cast<std::size_t>(PQgetlength(result, row, column)));
    if (PQftype(result, column) == 16) return text == "t" ? "1" : "0";  // boolean
    return text;
}

std::optional<std::string> readRows(PGconn* conn, const std::string& sql, std::string& error) {
    // The extended protocol takes a single statement only.
    Result rows(PQexecParams(conn, sql.c_str(), 0, nullptr, nullptr, nullptr, nullptr, 0));
    if (PQresultStatus(rows.get()) != PGRES_TUPLES_OK) {
        error = PQresultStatus(rows.get()) == PGRES_COMMAND_OK
                    ? "only a statement that reads may be given"
                    : PQerrorMessage(conn);
        return std::nullopt;
    }
    std::string text;
    for (int r = 0; r < PQntuples(rows.get()); ++r) {
        if (r > 0) text += '\n';
        for (int c = 0; c < PQnfields(rows.get()); ++c) {
            if (c > 0) text += '|';
            text += cellText(rows.get(), r, c);
        }
    }
    return text;
}

}  // namespace

std::optional<std::string> queryAsText(PostgresDatabase& database,
                                       const std::vector<std::string>& schemas,
                                       const std::string& sql, std::string& error) {
    PGconn* conn = database.handle();
    if (conn == nullptr || !database.startError().empty()) {
        error = "the database server cannot be reached";
        return std::nullopt;
    }
    database.endReadSnapshot();
    if (database.transactionDepth() > 0) {
        error = "a transaction is running, whose changes are not committed yet";
        return std::nullopt;
    }
    if (!startsWithWord(sql, "SELECT") && !startsWithWord(sql, "WITH")) {
        error = "only a statement that reads may be given";
        return std::nullopt;
    }
    std::string path;
    for (const std::string& schema : schemas) path += (path.empty() ? "" : ", ") + sqlName(schema);
    Result begun(PQexec(conn, ("BEGIN READ ONLY; SET LOCAL search_path TO " + path).c_str()));
    if (PQresultStatus(begun.get()) != PGRES_COMMAND_OK) {
        error = PQerrorMessage(conn);
        Result(PQexec(conn, "ROLLBACK"));
        return std::nullopt;
    }
    std::optional<std::string> rows = readRows(conn, sql, error);
    Result(PQexec(conn, "ROLLBACK"));
    return rows;
}

}  // namespace dv
