#include "frontend/headless/ScriptQuery.h"

#include <stdexcept>

#include "storage/PostgresDatabase.h"
#include "storage/ReadOnlyQuery.h"
#include "storage/SqliteDatabase.h"
#include "storage/TableAccess.h"

namespace dv {
namespace {

// Attaches the database of `directory` to the connection when the program has not yet opened a
// table there, so that a query sees its tables before any procedure used them.
bool attach(SqliteDatabase& database, const std::filesystem::path& directory, std::string& error) {
    std::string schema;
    DriverError failure;
    if (database.schemaFor(directory, false, schema, failure) == DriverCode::Ok) return true;
    error = failure.text;
    return false;
}

}  // namespace

// The schemas of the data directory and of the company's, the former first, as the embedded
// database looks unqualified names up in the order the databases were attached.
std::optional<std::string> ScriptQuery::runOnServer(SqlConnection& connection,
                                                    const std::string& sql,
                                                    std::string& error) const {
    auto* server = dynamic_cast<PostgresDatabase*>(&connection);
    if (server == nullptr) {
        error = "queries run on the embedded database and on the server only";
        return std::nullopt;
    }
    std::vector<std::string> schemas;
    for (const std::filesystem::path& directory : {dataDirectory_, dataDirectory_.parent_path()}) {
        std::string schema;
        DriverError failure;
        if (server->schemaFor(directory, false, schema, failure) == DriverCode::Ok)
            schemas.push_back(schema);
        else if (schemas.empty()) {
            error = failure.text;
            return std::nullopt;
        }
    }
    return queryAsText(*server, schemas, sql, error);
}

std::optional<std::string> ScriptQuery::run(const std::string& sql, std::string& error) const {
    TableAccess* tables = nullptr;
    try {
        tables = &tableAccess();
    } catch (const std::logic_error&) {
        error = "the program has no tables open to query";
        return std::nullopt;
    }
    if (tables->sqliteDatabase() == nullptr) return runOnServer(tables->database(), sql, error);
    SqliteDatabase& database = *tables->sqliteDatabase();
    const std::string& fileName = database.options().fileName;
    const std::filesystem::path file = dataDirectory_ / fileName;
    if (!std::filesystem::exists(file)) {
        error = "there is no database " + file.string();
        return std::nullopt;
    }
    const std::filesystem::path company = dataDirectory_.parent_path();
    if (!attach(database, dataDirectory_, error)) return std::nullopt;
    if (std::filesystem::exists(company / fileName) && !attach(database, company, error))
        return std::nullopt;
    return queryAsText(database, sql, error);
}

}  // namespace dv
