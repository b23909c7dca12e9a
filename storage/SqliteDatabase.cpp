#include "storage/SqliteDatabase.h"

#include <unistd.h>

#include <system_error>
#include <utility>

#include "storage/FilterSqlFunctions.h"
#include "storage/SlovenianCollation.h"
#include "storage/SqliteError.h"
#include "storage/TableSql.h"

namespace dv {
namespace fs = std::filesystem;

namespace {

// "file:" URI of a path, every byte but the unreserved ones and '/' percent-encoded, so that no
// character of a directory name can be read as part of the URI.
std::string fileUri(const fs::path& file, std::string_view mode) {
    static constexpr char hex[] = "0123456789ABCDEF";
    std::string uri = "file:";
    for (const char c : file.string()) {
        const auto byte = static_cast<unsigned char>(c);
        const bool plain = (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') ||
                           (byte >= '0' && byte <= '9') || byte == '/' || byte == '-' ||
                           byte == '.' || byte == '_' || byte == '~';
        if (plain) {
            uri += c;
        } else {
            uri += '%';
            uri += hex[byte >> 4];
            uri += hex[byte & 0x0F];
        }
    }
    uri += "?mode=";
    uri += mode;
    return uri;
}

bool writable(const fs::path& path) {
    return ::access(path.c_str(), W_OK) == 0;
}

fs::path normalDirectory(const fs::path& directory) {
    std::error_code ignored;
    fs::path absolute = fs::absolute(directory, ignored);
    fs::path normal = fs::weakly_canonical(absolute, ignored);
    return normal.empty() ? absolute.lexically_normal() : normal;
}

DriverError plainError(DriverCode code, std::string text) {
    return DriverError{code, 0, std::move(text)};
}

}  // namespace

SqliteDatabase::SqliteDatabase(DatabaseOptions options) : options_(std::move(options)) {
    // The connection is the program's one, and only one procedure thread (or the front end)
    // runs at a time, handing over at each wait (ProcedureScheduler): it is never used by two
    // threads at once, so SQLite need not lock it in every call (it did so for each column read).
    const int flags =
        SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_URI | SQLITE_OPEN_NOMUTEX;
    if (sqlite3_open_v2(":memory:", &db_, flags, nullptr) != SQLITE_OK) {
        sqlite3_close(db_);
        db_ = nullptr;
        return;
    }
    sqlite3_extended_result_codes(db_, 1);
    sqlite3_busy_timeout(db_, options_.busyTimeoutMs);
    registerSlovenianCollation(db_);
    // Filters translated to SQL call the expression functions by name.
    registerExpressionFunctions(db_);
}

SqliteDatabase::~SqliteDatabase() {
    statements_.clear();
    if (db_ != nullptr) abandonTransaction();
    // Closes once the last statement another reader may still hold is finalized.
    sqlite3_close_v2(db_);
}

fs::path SqliteDatabase::databaseFile(const fs::path& directory) const {
    return normalDirectory(directory) / options_.fileName;
}

DriverCode SqliteDatabase::schemaFor(const fs::path& directory, bool create, std::string& schema,
                                     DriverError& error) {
    if (db_ == nullptr) {
        error = plainError(DriverCode::DriverError, "The database engine could not be started.");
        return error.code;
    }
    // A table being opened may be created, converted or attached: that writes.
    endReadSnapshot();
    const fs::path normal = normalDirectory(directory);
    for (const Attached& attached : attached_) {
        if (attached.directory != normal) continue;
        if (create && attached.readOnly) {
            error = plainError(DriverCode::AccessDenied,
                               "The database in " + normal.string() + " is read-only.");
            return error.code;
        }
        schema = attached.schema;
        return DriverCode::Ok;
    }
    Attached attached{normal, {}, false};
    if (const DriverCode code = attach(normal, create, attached, error); code != DriverCode::Ok)
        return code;
    attached_.push_back(attached);
    schema = attached.schema;
    return DriverCode::Ok;
}

bool SqliteDatabase::isReadOnly(const std::string& schema) const {
    for (const Attached& attached : attached_)
        if (attached.schema == schema) return attached.readOnly;
    return true;
}

std::string SqliteDatabase::collationVersion() {
    return slovenianCollationVersion();
}

DriverCode SqliteDatabase::attach(const fs::path& directory, bool create, Attached& attached,
                                  DriverError& error) {
    std::error_code ignored;
    if (!fs::is_directory(directory, ignored)) {
        error = plainError(DriverCode::FileNotFound,
                           "The directory " + directory.string() + " does not exist.");
        return error.code;
    }
    const fs::path file = directory / options_.fileName;
    const bool exists = fs::exists(file, ignored);
    const bool canWrite = writable(directory) && (!exists || writable(file));
    if (!exists && !create) {
        error = plainError(DriverCode::FileNotFound,
                           "There is no database in the directory " + directory.string() + ".");
        return error.code;
    }
    if (!exists && !canWrite) {
        error = plainError(DriverCode::AccessDenied,
                           "The directory " + directory.string() +
                               " is read-only, so no database can be made in it.");
        return error.code;
    }
    if (transactionDepth() > 0) {
        error = plainError(DriverCode::DriverError,
                           "The tables in " + directory.string() +
                               " cannot be opened while a transaction is running.");
        return error.code;
    }
    attached.schema = "d" + std::to_string(attached_.size() + 1);
    attached.readOnly = !canWrite;
    const std::string action = "open the database " + file.string();
    DriverCode code =
        attachFile(attached.schema, fileUri(file, canWrite ? "rwc" : "ro"), action, error);
    // A WAL database in a directory that cannot take its index files is read as it stands.
    if (code != DriverCode::Ok && !canWrite)
        code = attachFile(attached.schema, fileUri(file, "ro") + "&immutable=1", action, error);
    if (code != DriverCode::Ok) return code;
    if (const DriverCode code = prepareAttached(attached, error); code != DriverCode::Ok) {
        sqlite3_exec(db_, ("DETACH DATABASE " + attached.schema).c_str(), nullptr, nullptr,
                     nullptr);
        return code;
    }
    return DriverCode::Ok;
}

DriverCode SqliteDatabase::attachFile(const std::string& schema, const std::string& uri,
                                      std::string_view action, DriverError& error) {
    SqliteStatement attach(db_, "ATTACH DATABASE ?1 AS " + schema);
    int result = attach.prepareResult();
    if (result == SQLITE_OK) {
        attach.bind(1, std::string_view(uri));
        attach.step();
        result = attach.lastResult();
    }
    if (result == SQLITE_DONE) return DriverCode::Ok;
    error = sqliteFailure(db_, result, action);
    return error.code;
}

// Reads the freshly attached database once, so that a damaged or locked file shows at once, and
// puts a writable one into WAL mode.
DriverCode SqliteDatabase::prepareAttached(const Attached& attached, DriverError& error) {
    const std::string action = "open the database in " + attached.directory.string();
    const std::string sql = attached.readOnly
                                ? "SELECT count(*) FROM " + attached.schema + ".sqlite_master"
                                : "PRAGMA " + attached.schema + ".journal_mode=WAL";
    SqliteStatement check(db_, sql);
    int result = check.prepareResult();
    if (result == SQLITE_OK) {
        check.step();
        result = check.lastResult();
        if (result == SQLITE_ROW) result = SQLITE_OK;
    }
    // A page cache that holds the working set of a stocktake (tens of thousands of lines).
    if (result == SQLITE_OK)
        result = sqlite3_exec(db_, ("PRAGMA " + attached.schema + ".cache_size=-32768").c_str(),
                              nullptr, nullptr, nullptr);
    if (result != SQLITE_OK) {
        error = sqliteFailure(db_, result, action);
        return error.code;
    }
    return DriverCode::Ok;
}

SqlStatement* SqliteDatabase::statement(const std::string& sql, std::string_view action,
                                        DriverError& error) {
    if (auto found = statements_.find(sql); found != statements_.end()) return found->second.get();
    auto prepared = std::make_unique<SqliteStatement>(db_, sql);
    if (prepared->prepareResult() != SQLITE_OK) {
        error = sqliteFailure(db_, prepared->prepareResult(), action);
        return nullptr;
    }
    return statements_.emplace(sql, std::move(prepared)).first->second.get();
}

bool SqliteDatabase::executeQuietly(const char* sql) {
    return sqlite3_exec(db_, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
}

// ---- the dialect

std::string SqliteDialect::placeholder(int number) const {
    return "?" + std::to_string(number);
}

std::string SqliteDialect::rowIdColumn() const {
    return "\"_ROW\" INTEGER PRIMARY KEY";
}

std::string SqliteDialect::integerType() const {
    return "INTEGER";
}

std::string SqliteDialect::indexTarget(const std::string& schema, const std::string& index,
                                       const std::string& table) const {
    return (schema.empty() ? "" : sqlName(schema) + ".") + sqlName(index) + " ON " + sqlName(table);
}

std::string SqliteDialect::noCaseCollation() const {
    return std::string(" COLLATE ") + kSlovenianNoCase;
}

// SQLite tells the row id of an insert by itself (sqlite3_last_insert_rowid).
std::string SqliteDialect::returningRow() const {
    return {};
}

std::string SqliteDialect::upsert(const std::string& table,
                                  const std::vector<std::string>& columns, bool replace) const {
    std::string sql = replace ? "INSERT OR REPLACE INTO " : "INSERT OR IGNORE INTO ";
    sql += table + " VALUES (";
    for (std::size_t c = 0; c < columns.size(); ++c)
        sql += (c == 0 ? "" : ", ") + placeholder(static_cast<int>(c + 1));
    return sql + ")";
}

// A writing transaction takes the write lock at once, so that it never fails half-way for a lock
// another program took after its first read.
std::string SqliteDialect::beginTransaction() const {
    return "BEGIN IMMEDIATE";
}

std::string SqliteDialect::beginRead() const {
    return "BEGIN DEFERRED";
}

std::string SqliteDialect::tableExists(const std::string& schema) const {
    return "SELECT 1 FROM " + sqlName(schema) + ".sqlite_master WHERE type='table' AND name=?1";
}

// Indexes SQLite makes for itself (of primary keys) have no SQL.
std::string SqliteDialect::indexesOf(const std::string& schema) const {
    return "SELECT name FROM " + sqlName(schema) +
           ".sqlite_master WHERE type='index' AND tbl_name=?1 AND sql IS NOT NULL";
}

std::string SqliteDialect::indexDefinition(const std::string& schema) const {
    return "SELECT sql FROM " + sqlName(schema) + ".sqlite_master WHERE type='index' AND name=?1";
}

std::string SqliteDialect::reindexNoCase(const std::string&) const {
    return std::string("REINDEX ") + kSlovenianNoCase;
}

}  // namespace dv
