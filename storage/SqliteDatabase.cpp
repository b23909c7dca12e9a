#include "storage/SqliteDatabase.h"

#include <unistd.h>

#include <system_error>
#include <utility>

#include "storage/FilterSqlFunctions.h"
#include "storage/SlovenianCollation.h"
#include "storage/SqliteError.h"

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
    if (depth_ > 0 || snapshot_ != 0) sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
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
    if (depth_ > 0) {
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
    SqlStatement attach(db_, "ATTACH DATABASE ?1 AS " + schema);
    int result = attach.prepareResult();
    if (result == SQLITE_OK) {
        attach.bind(1, std::string_view(uri));
        result = attach.step();
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
    SqlStatement check(db_, sql);
    int result = check.prepareResult();
    if (result == SQLITE_OK) {
        result = check.step();
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
    auto prepared = std::make_unique<SqlStatement>(db_, sql);
    if (prepared->prepareResult() != SQLITE_OK) {
        error = sqliteFailure(db_, prepared->prepareResult(), action);
        return nullptr;
    }
    return statements_.emplace(sql, std::move(prepared)).first->second.get();
}

DriverCode SqliteDatabase::execute(const std::string& sql, std::string_view action,
                                   DriverError& error) {
    SqlStatement* prepared = statement(sql, action, error);
    if (prepared == nullptr) return error.code;
    StatementUse use(*prepared);
    int result = prepared->step();
    while (result == SQLITE_ROW) result = prepared->step();
    if (result == SQLITE_DONE) return DriverCode::Ok;
    error = sqliteFailure(db_, result, action);
    return noteFailure(error);
}

DriverCode SqliteDatabase::begin(DriverError& error) {
    if (prepareWrite(error) != DriverCode::Ok) return error.code;
    const std::string sql =
        depth_ == 0 ? std::string("BEGIN IMMEDIATE") : "SAVEPOINT dv" + std::to_string(depth_ + 1);
    const DriverCode code = execute(sql, "begin a transaction", error);
    if (code != DriverCode::Ok) return code;
    if (depth_++ == 0) owner_ = std::this_thread::get_id();
    return code;
}

DriverCode SqliteDatabase::commit(DriverError& error) {
    if (depth_ == 0) {
        error = plainError(DriverCode::DriverError, "There is no transaction to commit.");
        return error.code;
    }
    if (checkOwner(error) != DriverCode::Ok) return error.code;
    if (lost_) {
        error = plainError(DriverCode::DriverError, lostReason_);
        if (--depth_ == 0) forgetTransaction();
        return error.code;
    }
    if (depth_ > 1) {
        const DriverCode code =
            execute("RELEASE dv" + std::to_string(depth_), "commit a transaction", error);
        if (code != DriverCode::Ok) return code;
        --depth_;
        return code;
    }
    SqlStatement* prepared = statement("COMMIT", "commit a transaction", error);
    if (prepared == nullptr) return error.code;
    StatementUse use(*prepared);
    if (const int result = prepared->step(); result != SQLITE_DONE) {
        error = sqliteFailure(db_, result, "save the changes of the transaction");
        error.text += "; all changes of the transaction were undone";
        if (error.code != DriverCode::AccessDenied) error.code = DriverCode::DriverError;
        if (!sqlite3_get_autocommit(db_)) sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
        forgetTransaction();
        return error.code;
    }
    depth_ = 0;
    return DriverCode::Ok;
}

DriverCode SqliteDatabase::rollback(DriverError& error) {
    if (depth_ == 0) {
        error = plainError(DriverCode::DriverError, "There is no transaction to roll back.");
        return error.code;
    }
    if (checkOwner(error) != DriverCode::Ok) return error.code;
    ++rollbacks_;
    if (lost_) {
        if (--depth_ == 0) forgetTransaction();
        return DriverCode::Ok;
    }
    if (depth_ > 1) {
        const std::string name = "dv" + std::to_string(depth_);
        DriverCode code = execute("ROLLBACK TO " + name, "roll back a transaction", error);
        if (code == DriverCode::Ok)
            code = execute("RELEASE " + name, "roll back a transaction", error);
        if (!lost_) --depth_;
        return code;
    }
    const DriverCode code = execute("ROLLBACK", "roll back a transaction", error);
    forgetTransaction();
    return code;
}

void SqliteDatabase::forgetTransaction() {
    depth_ = 0;
    lost_ = false;
    lostReason_.clear();
    ++rollbacks_;
}

DriverCode SqliteDatabase::noteFailure(const DriverError& failure) {
    if (depth_ > 0 && !lost_ && sqlite3_get_autocommit(db_)) {
        lost_ = true;
        ++rollbacks_;
        lostReason_ = "The transaction was undone after an earlier error. " + failure.text;
    }
    return failure.code;
}

DriverCode SqliteDatabase::checkOwner(DriverError& error) const {
    if (depth_ == 0 || owner_ == std::this_thread::get_id()) return DriverCode::Ok;
    error = plainError(DriverCode::DriverError,
                       "The tables are being changed by the work of another window, which keeps "
                       "its changes together until it ends; try again when it has ended.");
    return error.code;
}

DriverCode SqliteDatabase::prepareWrite(DriverError& error) {
    endReadSnapshot();
    return checkWritable(error);
}

std::uint64_t SqliteDatabase::beginRead() {
    if (db_ == nullptr || depth_ > 0 || snapshot_ != 0 || !sqlite3_get_autocommit(db_)) return 0;
    if (sqlite3_exec(db_, "BEGIN DEFERRED", nullptr, nullptr, nullptr) != SQLITE_OK) return 0;
    snapshot_ = ++snapshots_;
    return snapshot_;
}

void SqliteDatabase::endRead(std::uint64_t number) {
    if (number != 0 && number == snapshot_) endReadSnapshot();
}

// The snapshot only read, so ending it loses nothing; a failed read may have ended it already.
void SqliteDatabase::endReadSnapshot() {
    if (snapshot_ == 0) return;
    snapshot_ = 0;
    if (depth_ == 0 && !sqlite3_get_autocommit(db_) &&
        sqlite3_exec(db_, "COMMIT", nullptr, nullptr, nullptr) != SQLITE_OK)
        sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
}

DriverCode SqliteDatabase::checkWritable(DriverError& error) const {
    if (checkOwner(error) != DriverCode::Ok) return error.code;
    if (!lost_) return DriverCode::Ok;
    error = plainError(DriverCode::DriverError, lostReason_);
    return error.code;
}

}  // namespace dv
