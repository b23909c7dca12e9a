#include "frontend/headless/ScriptQuery.h"

#include <stdexcept>

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

std::optional<std::string> ScriptQuery::run(const std::string& sql, std::string& error) const {
    TableAccess* tables = nullptr;
    try {
        tables = &tableAccess();
    } catch (const std::logic_error&) {
        error = "the program has no tables open to query";
        return std::nullopt;
    }
    if (tables->sqliteDatabase() == nullptr) {
        error = "queries run on the embedded database only";
        return std::nullopt;
    }
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
