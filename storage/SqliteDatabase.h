#pragma once

#include <sqlite3.h>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "storage/DatabaseOptions.h"
#include "storage/DriverCode.h"
#include "storage/SqlConnection.h"
#include "storage/SqliteStatement.h"

namespace dv {


// The SQL of SQLite.
class SqliteDialect final : public SqlDialect {
  public:
    std::string placeholder(int number) const override;
    std::string rowIdColumn() const override;
    std::string integerType() const override;
    std::string textType() const override { return "TEXT"; }
    std::string indexTarget(const std::string& schema, const std::string& index,
                            const std::string& table) const override;
    bool indexesEndInRowId() const override { return false; }
    std::string describeIndex(const std::string&, const std::string&,
                              const std::string&) const override {
        return {};
    }
    std::string noCaseCollation() const override;
    std::string returningRow() const override;
    std::string upsert(const std::string& table, const std::vector<std::string>& columns,
                       bool replace) const override;
    std::string beginTransaction() const override;
    std::string beginRead() const override;
    std::string tableExists(const std::string& schema) const override;
    std::string indexesOf(const std::string& schema) const override;
    std::string indexDefinition(const std::string& schema) const override;
    std::string reindexNoCase(const std::string& schema) const override;
    bool runsFilterConditions(bool) const override { return true; }
};

// The embedded engine. Every data directory keeps one database file that holds every table
// whose file lies there; the database of each directory in use is attached to this one
// connection as a schema of its own. Databases are in WAL mode, so several programs can work on
// them at once.
class SqliteDatabase final : public SqlConnection {
  public:
    explicit SqliteDatabase(DatabaseOptions options = {});
    ~SqliteDatabase() override;

    const DatabaseOptions& options() const { return options_; }
    sqlite3* handle() const { return db_; }
    const SqlDialect& dialect() const override { return dialect_; }

    DriverCode schemaFor(const std::filesystem::path& directory, bool create, std::string& schema,
                         DriverError& error) override;
    bool isReadOnly(const std::string& schema) const override;
    std::string collationVersion() override;
    // The database file of a directory.
    std::filesystem::path databaseFile(const std::filesystem::path& directory) const;

    SqlStatement* statement(const std::string& sql, std::string_view action,
                            DriverError& error) override;

  protected:
    bool connected() const override { return db_ != nullptr; }
    bool engineInTransaction() const override { return !sqlite3_get_autocommit(db_); }
    bool executeQuietly(const char* sql) override;

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

    DatabaseOptions options_;
    SqliteDialect dialect_;
    sqlite3* db_ = nullptr;
    std::vector<Attached> attached_;
    std::unordered_map<std::string, std::unique_ptr<SqliteStatement>> statements_;
};

}  // namespace dv
