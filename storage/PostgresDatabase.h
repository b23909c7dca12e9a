#pragma once

#include <libpq-fe.h>

#include <charconv>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "storage/SqlConnection.h"
#include "storage/SqlStatement.h"

namespace dv {

class PostgresDatabase;

// One statement prepared on the server (PQprepare) and run with text parameters
// (PQexecPrepared); the rows of a run arrive at once and are read from the result. A statement
// prepared before the connection was made anew is prepared again at its next run, and one that
// runs on and on is prepared anew now and then, so that its plan follows the sizes of its tables.
class PostgresStatement final : public SqlStatement {
  public:
    PostgresStatement(PostgresDatabase& db, std::string name, std::string sql);
    ~PostgresStatement() override;

    // Prepares the statement on the server; false (see failure) when it refuses it.
    bool prepare();

    using SqlStatement::bind;
    void bind(int index, std::int64_t value) override;
    void bind(int index, std::string_view text) override;
    StepResult step() override;
    void reset() override;

    int columnCount() const override { return result_ != nullptr ? PQnfields(result_) : 0; }
    // Whole numbers arrive as their decimal text.
    std::int64_t integer(int column) const override {
        const char* digits = PQgetvalue(result_, row_, column);
        std::int64_t value = 0;
        std::from_chars(digits, digits + PQgetlength(result_, row_, column), value);
        return value;
    }
    std::string_view text(int column) const override {
        return std::string_view(PQgetvalue(result_, row_, column),
                                static_cast<std::size_t>(PQgetlength(result_, row_, column)));
    }

    DriverError failure(std::string_view action) const override;
    std::int64_t changes() const override { return changes_; }
    // The row id comes as the result row of the insert (SqlDialect::returningRow).
    std::int64_t insertedRow() const override { return 0; }

    void bindRecord(const TableSchema& layout, const void* record) override;
    void bindColumns(const TableSchema& layout, const void* record,
                     const std::vector<int>& columns) override;
    void readRecord(int first, const TableSchema& layout, const ColumnSelection* selection,
                    void* record) const override;

  private:
    PGresult* prepareAs(const std::string& name) const;
    void replanWhenDue();

    PostgresDatabase& db_;
    std::string name_;     // as prepared on the server now
    std::string base_;     // the name it was given; new plans take a suffix
    std::string sql_;
    std::uint64_t preparedFor_ = 0;  // the connection generation it was prepared on
    std::uint64_t runs_ = 0;
    std::uint64_t replanAt_ = 16;
    int plans_ = 0;
    std::vector<std::string> parameters_;
    std::vector<const char*> values_;
    PGresult* result_ = nullptr;
    int row_ = -1;
    std::int64_t changes_ = 0;
    std::string error_;
    std::string state_;  // SQLSTATE of the failure
};

// The SQL of PostgreSQL.
class PostgresDialect final : public SqlDialect {
  public:
    std::string storedName(std::string_view name) const override;
    std::string placeholder(int number) const override;
    std::string rowIdColumn() const override;
    std::string integerType() const override { return "BIGINT"; }
    std::string textType() const override;
    std::string indexTarget(const std::string& schema, const std::string& index,
                            const std::string& table) const override;
    bool indexesEndInRowId() const override { return true; }
    std::string describeIndex(const std::string& schema, const std::string& index,
                              const std::string& definition) const override;
    std::string noCaseCollation() const override;
    std::string returningRow() const override;
    std::string upsert(const std::string& table, const std::vector<std::string>& columns,
                       bool replace) const override;
    std::string beginTransaction() const override { return "BEGIN"; }
    std::string beginRead() const override;
    std::string tableExists(const std::string& schema) const override;
    std::string indexesOf(const std::string& schema) const override;
    std::string indexDefinition(const std::string& schema) const override;
    std::string reindexNoCase(const std::string& schema) const override;
    bool runsFilterConditions(bool) const override { return false; }
};

// The server engine: the tables on a PostgreSQL server, reached through libpq with a connection
// string ("service=trgovina", "host=/run/postgresql dbname=zalto"). Passwords come from libpq's
// own password or service file. Every data directory in use is a schema of the database
// ("d1", "d2", ...), the directory each stands for kept in the table public."_SCHEMAS".
class PostgresDatabase final : public SqlConnection {
  public:
    // `station` names this program to the other stations (empty: the computer's name).
    explicit PostgresDatabase(std::string connection, std::string station = {});
    ~PostgresDatabase() override;

    // Empty when the connection was made; else why not, in Slovenian for the user.
    const std::string& startError() const { return startError_; }
    PGconn* handle() const { return conn_; }
    std::uint64_t generation() const { return generation_; }
    // After a failed statement: makes the connection anew when it was lost (outside a
    // transaction); true when it works.
    bool recover();
    // Rebuilds at once the keys of every schema whose keys over names were built under other
    // rules of the Slovenian order than the server applies now (a new ICU version on the
    // server); the message that says so, empty when none were.
    std::string rebuildKeysUnderOtherCollation();

    const SqlDialect& dialect() const override { return dialect_; }
    DriverCode schemaFor(const std::filesystem::path& directory, bool create, std::string& schema,
                         DriverError& error) override;
    bool isReadOnly(const std::string&) const override { return false; }
    std::string collationVersion() override;
    SqlStatement* statement(const std::string& sql, std::string_view action,
                            DriverError& error) override;
    LockOutcome tryStationLock(LockName name, bool shared, StationWork work,
                               std::vector<LockHolder>& holders, DriverError& error) override;
    void releaseStationLock(LockName name, bool shared) override;
    LockOutcome tryLockUntilCommit(LockName name, StationWork work,
                                   std::vector<LockHolder>& holders, DriverError& error) override;
    const std::string& station() const { return station_; }
    // The data directory `local` of this station is the one the server knows as `server`: a
    // station that keeps its own program directory works on the tables of another's.
    void mapDirectory(const std::filesystem::path& local, const std::filesystem::path& server);

  protected:
    bool connected() const override;
    bool engineInTransaction() const override;
    bool executeQuietly(const char* sql) override;
    void transactionLost() override;
    void rolledBack() override;
    void analyze(const std::vector<std::string>& tables) override;

  private:
    bool connect();
    bool prepareDatabase();
    std::string lookUpSchema(const std::string& directory, DriverError& error);
    std::string serverDirectory(const std::filesystem::path& directory) const;
    std::vector<LockHolder> lockHolders(LockName name, DriverError& error);
    void announceWork(char work);
    void unlockPending();
    LockOutcome tryLock(const char* sql, LockName name, std::vector<LockHolder>& holders,
                        DriverError& error);

    std::string connection_;
    std::string station_;
    // The directories of this station that stand for others on the server, longest first.
    std::vector<std::pair<std::string, std::string>> directoryMap_;
    int stationLocks_ = 0;  // station locks held now
    std::vector<std::string> pendingUnlocks_;
    char announced_ = '-';  // the work the other stations see
    PostgresDialect dialect_;
    PGconn* conn_ = nullptr;
    std::uint64_t generation_ = 0;
    std::string startError_;
    std::unordered_map<std::string, std::string> schemas_;  // directory -> schema
    // The directories whose schema was found or registered within the transaction running: a
    // rollback may have undone the registration, so that they are looked up again.
    std::vector<std::string> schemasInTransaction_;
    std::unordered_map<std::string, std::unique_ptr<PostgresStatement>> statements_;
};

// The Slovenian message for a connection that could not be made or was lost, from libpq's text.
std::string postgresConnectionMessage(PGconn* conn);

}  // namespace dv
