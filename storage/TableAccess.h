#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/MessageRaiser.h"
#include "storage/FileManager.h"
#include "storage/RelationKeeper.h"
#include "storage/DatabaseOptions.h"
#include "storage/SqlConnection.h"

namespace dv {

class SqliteDatabase;

// The program-wide table access: the connection to the databases (SqlConnection), one
// FileManager per table of the dictionary and one RelationKeeper per table that takes part in a
// relation, linked as the catalogue's relations say. It is the register (by table name or
// prefix) through which the procedures and the keepers find the managers.
//
// Made once at start-up (after the message reporter) and kept until the end; it installs itself
// as the current table access while it lives, as the message reporter does.
class TableAccess {
  public:
    // On the embedded database.
    explicit TableAccess(MessageRaiser* errors = nullptr, DatabaseOptions options = {});
    // On the given connection (a server's).
    TableAccess(MessageRaiser* errors, std::unique_ptr<SqlConnection> connection);
    ~TableAccess();
    TableAccess(const TableAccess&) = delete;
    TableAccess& operator=(const TableAccess&) = delete;

    // The manager of a table (name or prefix, any case); throws std::invalid_argument for an
    // unknown table.
    FileManager& file(std::string_view table);
    // nullptr for an unknown table.
    FileManager* findFile(std::string_view table);
    // The keeper of a table, nullptr when the table takes part in no relation.
    RelationKeeper* relations(std::string_view table);

    SqlConnection& database() { return *database_; }
    // The embedded database; nullptr when the tables lie on a server.
    SqliteDatabase* sqliteDatabase() { return sqlite_; }

    // One transaction over the tables of every database (writes that belong together: a
    // posting, an import). They nest. A failure leaves its description in the runtime error.
    [[nodiscard]] DriverCode beginTransaction();
    [[nodiscard]] DriverCode commit();
    [[nodiscard]] DriverCode rollback();

    // The driver of `table` kept in `fileName`: the capture text file or a database table.
    std::unique_ptr<TableDriver> makeDriver(const TableDef& table, const std::string& fileName);

  private:
    DriverCode finish(DriverCode code, const DriverError& error);
    void linkRelations();

    std::unique_ptr<SqlConnection> database_;
    SqliteDatabase* sqlite_ = nullptr;
    std::vector<std::unique_ptr<FileManager>> files_;       // in dictionary order
    std::vector<std::unique_ptr<RelationKeeper>> keepers_;  // by dictionary position, may be null
    TableAccess* previous_;
};

// The current table access; throws std::logic_error when there is none.
TableAccess& tableAccess();

}  // namespace dv
