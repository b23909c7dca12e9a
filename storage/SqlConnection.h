#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <thread>
#include <unordered_map>
#include <vector>

#include "storage/DriverCode.h"
#include "storage/SqlDialect.h"
#include "storage/SqlStatement.h"
#include "storage/StationLock.h"

namespace dv {

// What a driver's failure says when the connection to a database server was lost (a server
// that went away, a network that broke): the user is told so in these words.
inline constexpr std::string_view kConnectionLost =
    "Povezava s strežnikom zbirke podatkov je bila prekinjena";

// The program's connection to the database that holds its tables, one engine's implementation
// behind it (SqliteDatabase: the embedded default; a server engine). Every data directory in use
// is a schema of its own ("d1", "d2", ...), so that one transaction covers tables of several
// directories (the company tables live in the parent directory).
//
// The rules of transactions, read snapshots and change counts are the same for every engine and
// live here; an engine supplies the statements, the schemas and a few primitive steps.
class SqlConnection {
  public:
    SqlConnection() = default;
    virtual ~SqlConnection() = default;
    SqlConnection(const SqlConnection&) = delete;
    SqlConnection& operator=(const SqlConnection&) = delete;

    virtual const SqlDialect& dialect() const = 0;

    // The schema that holds the tables of `directory`, made available when needed.
    // FileNotFound when the directory has no database and `create` is off; with `create` it is
    // made. A database that cannot be written to is used read-only.
    virtual DriverCode schemaFor(const std::filesystem::path& directory, bool create,
                                 std::string& schema, DriverError& error) = 0;
    virtual bool isReadOnly(const std::string& schema) const = 0;
    // The version of the rules of the Slovenian order as the engine applies them now; the
    // indexes built under another version are rebuilt (see checkTableStructure).
    virtual std::string collationVersion() = 0;

    // The prepared statement for `sql`, kept for later use; nullptr (and the error) when the
    // engine refuses it.
    virtual SqlStatement* statement(const std::string& sql, std::string_view action,
                                    DriverError& error) = 0;
    // Runs a statement, its rows (if any) passed over.
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
    // After a failed statement: when the engine undid the whole transaction, the transaction is
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
    // the engine refused).
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

    // Locks between the stations of one database (see StationLock). One attempt to take `name`;
    // Busy, with the stations that hold it in `holders`, when it cannot be had now. A single
    // station's engine (the embedded one) takes every lock at once.
    virtual LockOutcome tryStationLock(LockName name, bool shared, StationWork work,
                                       std::vector<LockHolder>& holders, DriverError& error);
    virtual void releaseStationLock(LockName name, bool shared);
    // One attempt to take `name` (exclusive) until the transaction running ends.
    virtual LockOutcome tryLockUntilCommit(LockName name, StationWork work,
                                           std::vector<LockHolder>& holders, DriverError& error);

  protected:
    // Whether the connection works at all (it may have failed to start).
    virtual bool connected() const = 0;
    // Whether the engine has a transaction open on the connection now: after a failure it may
    // have ended it by itself.
    virtual bool engineInTransaction() const = 0;
    // Runs a control statement whose failure is handled by the caller's state alone.
    virtual bool executeQuietly(const char* sql) = 0;
    // Called when a failure lost the transaction: an engine that keeps a failed transaction
    // open until it is ended (a server) ends it here.
    virtual void transactionLost() {}
    // Called when a transaction or a savepoint was rolled back (or lost): what the engine
    // remembers of work done in it is forgotten.
    virtual void rolledBack() {}
    // Ends what the connection holds before it is closed: a transaction or a snapshot running.
    void abandonTransaction();
    // After the commit of a transaction that changed many rows of `tables` (qualified names):
    // an engine whose planner needs to know the tables' new contents learns them here.
    virtual void analyze(const std::vector<std::string>& tables) { (void)tables; }

  private:
    void forgetTransaction();
    DriverCode commitOutermost(DriverError& error);
    void analyzeChanged();
    // Error when a transaction of another thread runs, else Ok.
    DriverCode checkOwner(DriverError& error) const;

    std::unordered_map<std::string, std::uint64_t> changes_;
    std::unordered_map<std::string, std::uint64_t> changesAtBegin_;
    std::uint64_t rollbacks_ = 0;
    int depth_ = 0;
    std::uint64_t snapshot_ = 0;   // the read snapshot running, 0 for none
    std::uint64_t snapshots_ = 0;  // the number given last
    std::thread::id owner_;        // the thread whose transaction runs
    bool lost_ = false;
    std::string lostReason_;
};

}  // namespace dv
