#include "frontend/headless/ScriptQuery.h"

#include <sqlite3.h>

#include <memory>

#include "storage/SlovenianCollation.h"
#include "storage/SqliteDatabase.h"

namespace dv {
namespace {

struct CloseDatabase {
    void operator()(sqlite3* db) const { sqlite3_close_v2(db); }
};
struct FinalizeStatement {
    void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
};
using Database = std::unique_ptr<sqlite3, CloseDatabase>;
using Statement = std::unique_ptr<sqlite3_stmt, FinalizeStatement>;

Database openReadOnly(const std::filesystem::path& file, std::string& error) {
    sqlite3* raw = nullptr;
    const int rc = sqlite3_open_v2(file.c_str(), &raw, SQLITE_OPEN_READONLY, nullptr);
    Database db(raw);
    if (rc != SQLITE_OK) {
        error = "cannot open " + file.string() + ": " + (raw ? sqlite3_errmsg(raw) : "no memory");
        return nullptr;
    }
    sqlite3_busy_timeout(db.get(), DatabaseOptions{}.busyTimeoutMs);
    registerSlovenianCollation(db.get());
    return db;
}

// Attaches the company database of the parent directory, when there is one.
bool attachCompany(sqlite3* db, const std::filesystem::path& file, std::string& error) {
    if (!std::filesystem::exists(file)) return true;
    sqlite3_stmt* raw = nullptr;
    sqlite3_prepare_v2(db, "ATTACH DATABASE ? AS company", -1, &raw, nullptr);
    Statement attach(raw);
    const std::string uri = file.string();
    if (attach) sqlite3_bind_text(attach.get(), 1, uri.c_str(), -1, SQLITE_TRANSIENT);
    if (!attach || sqlite3_step(attach.get()) != SQLITE_DONE) {
        error = "cannot attach " + uri + ": " + sqlite3_errmsg(db);
        return false;
    }
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

std::optional<std::string> ScriptQuery::run(const std::string& sql, std::string& error) const {
    const std::string fileName = DatabaseOptions{}.fileName;
    const auto file = dataDirectory_ / fileName;
    if (!std::filesystem::exists(file)) {
        error = "there is no database " + file.string();
        return std::nullopt;
    }
    Database db = openReadOnly(file, error);
    if (!db) return std::nullopt;
    if (sqlite3_exec(db.get(), "PRAGMA query_only = ON", nullptr, nullptr, nullptr) != SQLITE_OK) {
        error = sqlite3_errmsg(db.get());
        return std::nullopt;
    }
    if (!attachCompany(db.get(), dataDirectory_.parent_path() / fileName, error))
        return std::nullopt;

    sqlite3_stmt* raw = nullptr;
    const char* tail = nullptr;
    if (sqlite3_prepare_v2(db.get(), sql.c_str(), -1, &raw, &tail) != SQLITE_OK) {
        error = sqlite3_errmsg(db.get());
        return std::nullopt;
    }
    Statement statement(raw);
    for (; tail && *tail; ++tail) {
        if (*tail != ' ' && *tail != '\n' && *tail != '\t' && *tail != ';' && *tail != '\r') {
            error = "only one statement may be given";
            return std::nullopt;
        }
    }
    if (!statement) {
        error = "the query is empty";
        return std::nullopt;
    }
    std::string result;
    bool first = true;
    int rc;
    while ((rc = sqlite3_step(statement.get())) == SQLITE_ROW) {
        if (!first) result += '\n';
        first = false;
        result += rowText(statement.get());
    }
    if (rc != SQLITE_DONE) {
        error = sqlite3_errmsg(db.get());
        return std::nullopt;
    }
    return result;
}

}  // namespace dv
