#pragma once

#include <sqlite3.h>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <thread>
#include <unordered_map>
#include <vector>

#include "storage/DriverCode.h"
#include "storage/SqlStatement.h"

namespace dv {

struct DatabaseOptions {
    // Name of the database file in every data directory.
    std::string fileName = "dideroviv.db";
    // How long an operation waits for a database that another program has locked.
    int busyTimeoutMs = 5000;
};

// The program's connection to its databases. Every data directory keeps one database file that
// holds every table whose file lies there; the database of each directory in use is attached
// to this one connection as a schema of its own ("d1", "d2", ...), so that one transaction
// covers tables of several directories (the company tables live in the parent directory).
// Databases are in WAL mode, so several programs can work on them at once.
class SqliteDatabase {
  public:
    explicit SqliteDatabase(DatabaseOptions options = {});
    ~SqliteDatabase();
    SqliteDatabase(const SqliteDatabase&) = delete;
    SqliteDatabase& operator=(const SqliteDatabase&) = delete;

    const DatabaseOptions& options() const { return options_; }
    sqlite3* handle() const { return db_; }

    // The schema that holds the tables of `directory`, its database attached when needed.
    // FileNotFound when the directory has no database and `create` is off; with `create` the
    // database is made. A database that cannot be written to is attached read-only.
    DriverCode schemaFor(const std::filesystem::path& directory, bool create, std::string& schema,
                         DriverError& error);
    bool isReadOnly(const std::string& schema) const;
    // The database file of a directory.
    std::filesystem::path databaseFile(const std::filesystem::path& directory) const;

    // The prepared statement for `sql`, kept for later use; nullptr (and the error) when SQLite
    // refuses it.
    SqlStatement* statement(const std::string& sql, std::string_view action, DriverError& error);
    // Runs a statement without results.
    DriverCode execute(const std::string& sql, std::string_view action, DriverError& error);

    // Transactions nest: the outermost is a transaction, inner ones are savepoints. The
    // connection is the program's one, shared by every procedure thread, and a transaction
    // belongs to the thread that began it: while it runs, another thread can neither begin one
    // nor write (the error says why), so that work it does between the slices of a long batch
    // is never undone with the batch, nor kept by it.
    DriverCode begin(DriverError& error);
    DriverCode commit(DriverError& error);
    DriverCode rollback(DriverError& error);
    int transactionDepth() const { return depth_; }
    // After a failed statement: when SQLite undid the whole transaction, the transaction is
    // lost; writes are refused until the caller ends it. Returns the failure's code.
    DriverCode noteFailure(const DriverError& failure);
    // Error when a write must be refused because the transaction is lost or belongs to another
    // thread, else Ok.
    DriverCode checkWritable(DriverError& error) const;
    // The check before a write: ends a read snapshot first (see beginRead), then checkWritable.
    DriverCode prepareWrite(DriverError& error);

    // A read snapshot: one read transaction over the reads that follow, so that they see one
    // state of the databases and none of them takes and releases the locks on its own (which
    // costs more than a read by key). It begins only outside a transaction (within one the reads
    // are in it already) and ends at endRead, and by itself before anything is written, a
    // transaction is begun or a table is opened, so that it never holds a write: writes keep
    // their own commits. Returns its number, or 0 when none was begun (one runs already, or
    // SQLite refused).
    std::uint64_t beginRead();
    // Ends the read snapshot `number`; nothing when it has ended already or is 0.
    void endRead(std::uint64_t number);
    // Ends the read snapshot running, if any, whoever began it.
    void endReadSnapshot();
    bool readSnapshotActive() const { return snapshot_ != 0; }

    // Counts changes: a reader that keeps rows read ahead drops them when the count of its
    // table or the count of rollbacks moved. The counter of a table stays at its address.
    std::uint64_t& changeCounter(const std::string& table) { return changes_[table]; }
    std::uint64_t rollbacks() const { return rollbacks_; }

  private:
    struct Attached {
        std::filesystem::path directory;
        std::string schema;
        bool readOnly;
    };

    DriverCode attach(const std::filesystem::path& directory, bool create, Attached& attached,
                      DriverError& error);
    DriverCode attachFile(const std::string& schema, const std::string& uri,
                          std::string_view action, DriverError& error);
    DriverCode prepareAttached(const Attached& attached, DriverError& error);
    void forgetTransaction();
    // Error when a transaction of another thread runs, else Ok.
    DriverCode checkOwner(DriverError& error) const;

    DatabaseOptions options_;
    sqlite3* db_ = nullptr;
    std::vector<Attached> attached_;
    std::unordered_map<std::string, std::unique_ptr<SqlStatement>> statements_;
    std::unordered_map<std::string, std::uint64_t> changes_;
    std::uint64_t rollbacks_ = 0;
    int depth_ = 0;
    std::uint64_t snapshot_ = 0;   // the read snapshot running, 0 for none
    std::uint64_t snapshots_ = 0;  // the number given last
    std::thread::id owner_;  // the thread whose transaction runs
    bool lost_ = false;
    std::string lostReason_;
};

}  // namespace dv
