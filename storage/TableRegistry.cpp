#include "storage/TableRegistry.h"

#include <cstdlib>
#include <initializer_list>
#include <sstream>
#include <utility>
#include <vector>


namespace dv {
namespace {

using Row = std::vector<std::string>;

// Runs `sql` with text parameters and collects its rows as texts.
DriverCode query(SqlConnection& db, const std::string& sql,
                 std::initializer_list<std::string_view> parameters, std::vector<Row>& rows,
                 std::string_view action, DriverError& error) {
    SqlStatement* statement = db.statement(sql, action, error);
    if (statement == nullptr) return error.code;
    StatementUse use(*statement);
    int index = 1;
    for (const std::string_view parameter : parameters) statement->bind(index++, parameter);
    StepResult result;
    while ((result = statement->step()) == StepResult::Row) {
        Row row;
        for (int c = 0; c < statement->columnCount(); ++c) row.emplace_back(statement->text(c));
        rows.push_back(std::move(row));
    }
    if (result == StepResult::Done) return DriverCode::Ok;
    error = statement->failure(action);
    return db.noteFailure(error);
}

DriverCode run(SqlConnection& db, const std::string& sql,
               std::initializer_list<std::string_view> parameters, std::string_view action,
               DriverError& error) {
    std::vector<Row> ignored;
    return query(db, sql, parameters, ignored, action, error);
}

DriverError plainError(DriverCode code, std::string text) {
    return DriverError{code, 0, std::move(text)};
}

std::string tableName(const TableSql& sql) {
    return std::string(sql.layout().table().name);
}

int programVersion(const TableSql& sql) {
    const TableFile* file = sql.layout().table().file;
    return file != nullptr ? file->version : 0;
}

std::string registryTable(const TableSql& sql) {
    return sqlName(sql.schema()) + ".\"_TABLES\"";
}
std::string metaTable(const TableSql& sql) {
    return sqlName(sql.schema()) + ".\"_META\"";
}
const SqlDialect& dialectOf(const TableSql& sql) {
    return sql.dialect();
}

// A row of "_TABLES" or "_META": the name, then the values.
std::string replaceRow(const TableSql& sql, const std::string& table,
                       const std::vector<std::string>& columns, bool replace) {
    return dialectOf(sql).upsert(table, columns, replace);
}

DriverCode tableExists(SqlConnection& db, const TableSql& sql, std::string_view name, bool& found,
                       DriverError& error) {
    std::vector<Row> rows;
    const DriverCode code = query(db, dialectOf(sql).tableExists(sql.schema()), {name}, rows,
                                  "read the list of tables", error);
    found = !rows.empty();
    return code;
}

// The structure as the registry keeps it: "NAME TYPE" per line.
std::vector<std::pair<std::string, std::string>> parseStructure(const std::string& text) {
    std::vector<std::pair<std::string, std::string>> columns;
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        const std::size_t blank = line.find(' ');
        if (blank == std::string::npos) continue;
        columns.emplace_back(line.substr(0, blank), line.substr(blank + 1));
    }
    return columns;
}

// The columns the program adds to a stored table; false (and the reason) when the stored
// columns cannot all be kept.
bool planConversion(const TableSql& sql, const std::string& stored, std::vector<Column>& added,
                    std::string& reason) {
    const auto storedColumns = parseStructure(stored);
    const std::vector<Column>& columns = sql.layout().columns();
    for (const auto& [name, type] : storedColumns) {
        const Column* now = nullptr;
        for (const Column& column : columns)
            if (column.name == name) now = &column;
        if (now == nullptr) {
            reason = "its column " + name + " is no longer part of the table";
            return false;
        }
        if (!columnTypeWidens(type, now->type)) {
            reason = "its column " + name + " changed from " + type + " to " + now->type;
            return false;
        }
    }
    for (const Column& column : columns) {
        bool known = false;
        for (const auto& storedColumn : storedColumns)
            known = known || storedColumn.first == column.name;
        if (!known) added.push_back(column);
    }
    return true;
}

DriverCode registerTable(SqlConnection& db, const TableSql& sql, DriverError& error) {
    return run(db, replaceRow(sql, registryTable(sql), {"NAME", "VERSION", "COLUMNS"}, true),
               {tableName(sql), std::to_string(programVersion(sql)), sql.layout().structure()},
               "register the table " + tableName(sql), error);
}

DriverCode dropIndexes(SqlConnection& db, const TableSql& sql, DriverError& error) {
    std::vector<Row> indexes;
    DriverCode code = query(db, dialectOf(sql).indexesOf(sql.schema()), {sql.storedTableName()},
                            indexes, "read the keys of " + tableName(sql), error);
    for (std::size_t i = 0; code == DriverCode::Ok && i < indexes.size(); ++i)
        code = run(db, "DROP INDEX " + sqlName(sql.schema()) + "." + sqlName(indexes[i][0]), {},
                   "drop a key of " + tableName(sql), error);
    return code;
}

DriverCode createIndexes(SqlConnection& db, const TableSql& sql, DriverError& error) {
    const TableDef& table = sql.layout().table();
    for (std::size_t k = 0; k < table.keys.size(); ++k) {
        const int key = static_cast<int>(k);
        DriverCode code =
            run(db, sql.createIndex(key), {}, "build the key " + sql.indexName(key), error);
        const std::string describe = dialectOf(sql).describeIndex(
            sql.schema(), sql.indexName(key), sql.createIndex(key, false));
        if (code == DriverCode::Ok && !describe.empty())
            code = run(db, describe, {}, "build the key " + sql.indexName(key), error);
        if (code == DriverCode::DuplicateKey) {
            error = plainError(DriverCode::DriverError,
                               "The key " + sql.indexName(key) +
                                   " cannot be built: several records have the same values.");
            return error.code;
        }
        if (code != DriverCode::Ok) return code;
    }
    return DriverCode::Ok;
}

DriverCode rebuildIndexes(SqlConnection& db, const TableSql& sql, DriverError& error) {
    DriverCode code = dropIndexes(db, sql, error);
    if (code == DriverCode::Ok) code = createIndexes(db, sql, error);
    return code;
}

// Runs `work` in a transaction (a savepoint inside a running one); rolls back when it fails.
template <typename Work>
DriverCode inTransaction(SqlConnection& db, DriverError& error, Work work) {
    if (const DriverCode code = db.begin(error); code != DriverCode::Ok) return code;
    const DriverCode code = work();
    if (code != DriverCode::Ok) {
        DriverError ignored;
        db.rollback(ignored);
        return code;
    }
    return db.commit(error);
}

DriverCode convert(SqlConnection& db, const TableSql& sql, const std::vector<Column>& added,
                   DriverError& error) {
    return inTransaction(db, error, [&] {
        for (const Column& column : added) {
            const DriverCode code = run(
                db, "ALTER TABLE " + sql.qualifiedName() + " ADD COLUMN " + sql.addColumn(column),
                {}, "convert the table " + tableName(sql), error);
            if (code != DriverCode::Ok) return code;
        }
        DriverCode code = registerTable(db, sql, error);
        if (code == DriverCode::Ok) code = rebuildIndexes(db, sql, error);
        return code;
    });
}

// Brings the stored structure up to the program's, or says why it cannot be.
DriverCode checkVersion(SqlConnection& db, const TableSql& sql, const Row& registered,
                        bool writable, DriverError& error) {
    const int stored = static_cast<int>(std::strtol(registered[0].c_str(), nullptr, 10));
    const int wanted = programVersion(sql);
    const std::string name = tableName(sql);
    if (stored > wanted) {
        error = plainError(DriverCode::DriverError,
                           "The table " + name + " has structure version " + registered[0] +
                               ", made by a newer version of the program; this version knows " +
                               "structure version " + std::to_string(wanted) + ".");
        return error.code;
    }
    if (registered[1] == sql.layout().structure()) {
        if (stored == wanted || !writable) return DriverCode::Ok;
        return registerTable(db, sql, error);
    }
    std::vector<Column> added;
    std::string reason;
    if (!planConversion(sql, registered[1], added, reason)) {
        error = plainError(DriverCode::DriverError,
                           "The table " + name + " (structure version " + registered[0] +
                               ") cannot be converted to structure version " +
                               std::to_string(wanted) + ": " + reason + ".");
        return error.code;
    }
    if (!writable) {
        error = plainError(DriverCode::DriverError,
                           "The table " + name + " must be converted to structure version " +
                               std::to_string(wanted) + ", which needs write access.");
        return error.code;
    }
    return convert(db, sql, added, error);
}

// Indexes built under other collation rules than ICU's current ones are rebuilt.
DriverCode checkCollation(SqlConnection& db, const TableSql& sql, bool writable,
                          DriverError& error) {
    if (!writable) return DriverCode::Ok;
    std::string builtUnder;
    return rebuildKeysUnderOtherCollation(db, sql.schema(), builtUnder, error);
}

DriverCode checkIndexes(SqlConnection& db, const TableSql& sql, DriverError& error) {
    const TableDef& table = sql.layout().table();
    for (std::size_t k = 0; k < table.keys.size(); ++k) {
        const int key = static_cast<int>(k);
        std::vector<Row> rows;
        const DriverCode code =
            query(db, dialectOf(sql).indexDefinition(sql.schema()), {sql.indexName(key)}, rows,
                  "read the keys of " + tableName(sql), error);
        if (code != DriverCode::Ok) return code;
        if (rows.empty() || rows[0][0] != sql.createIndex(key, false)) {
            error = plainError(DriverCode::KeyInvalid,
                               "The key " + sql.indexName(key) + " is missing or out of date; " +
                                   "the keys of the table must be rebuilt.");
            return error.code;
        }
    }
    return DriverCode::Ok;
}

}  // namespace

DriverCode rebuildKeysUnderOtherCollation(SqlConnection& db, const std::string& schema,
                                          std::string& builtUnder, DriverError& error) {
    builtUnder.clear();
    const std::string meta = sqlName(schema) + ".\"_META\"";
    std::vector<Row> rows;
    DriverCode code = query(db, "SELECT \"VALUE\" FROM " + meta + " WHERE \"NAME\"='collation'",
                            {}, rows, "read the database settings", error);
    const std::string current = db.collationVersion();
    if (code != DriverCode::Ok || (!rows.empty() && rows[0][0] == current)) return code;
    code = inTransaction(db, error, [&] {
        DriverCode done = run(db, db.dialect().reindexNoCase(schema), {},
                              "rebuild the keys over names", error);
        if (done == DriverCode::Ok)
            done = run(db, db.dialect().upsert(meta, {"NAME", "VALUE"}, true),
                       {"collation", current}, "save the database settings", error);
        return done;
    });
    if (code == DriverCode::Ok && !rows.empty()) builtUnder = rows[0][0];
    return code;
}

DriverCode checkTableStructure(SqlConnection& db, const TableSql& sql, bool writable,
                               DriverError& error) {
    bool found = false;
    DriverCode code = tableExists(db, sql, "_TABLES", found, error);
    std::vector<Row> registered;
    if (code == DriverCode::Ok && found)
        code = query(
            db,
            "SELECT \"VERSION\",\"COLUMNS\" FROM " + registryTable(sql) +
                " WHERE \"NAME\"=" + dialectOf(sql).placeholder(1),
            {tableName(sql)}, registered, "read the list of tables", error);
    if (code != DriverCode::Ok) return code;
    if (registered.empty()) {
        error = plainError(DriverCode::FileNotFound,
                           "The table " + tableName(sql) + " does not exist yet.");
        return error.code;
    }
    code = checkVersion(db, sql, registered[0], writable, error);
    if (code == DriverCode::Ok) code = checkCollation(db, sql, writable, error);
    if (code == DriverCode::Ok) code = checkIndexes(db, sql, error);
    return code;
}

DriverCode createTableStructure(SqlConnection& db, const TableSql& sql, DriverError& error) {
    const std::string name = tableName(sql);
    const std::string action = "create the table " + name;
    return inTransaction(db, error, [&] {
        DriverCode code = run(db,
                              "CREATE TABLE IF NOT EXISTS " + registryTable(sql) +
                                  " (\"NAME\" TEXT PRIMARY KEY, \"VERSION\" " +
                                  dialectOf(sql).integerType() +
                                  " NOT NULL, \"COLUMNS\" TEXT NOT NULL)",
                              {}, action, error);
        if (code == DriverCode::Ok)
            code = run(db,
                       "CREATE TABLE IF NOT EXISTS " + metaTable(sql) +
                           " (\"NAME\" TEXT PRIMARY KEY, \"VALUE\" TEXT NOT NULL)",
                       {}, action, error);
        if (code == DriverCode::Ok)
            code = run(db, replaceRow(sql, metaTable(sql), {"NAME", "VALUE"}, false),
                       {"collation", db.collationVersion()}, action, error);
        std::vector<Row> registered;
        if (code == DriverCode::Ok)
            code = query(db,
                         "SELECT 1 FROM " + registryTable(sql) + " WHERE \"NAME\"=" +
                             dialectOf(sql).placeholder(1),
                         {name}, registered, action, error);
        if (code != DriverCode::Ok || !registered.empty()) return code;
        bool foreign = false;
        code = tableExists(db, sql, sql.storedTableName(), foreign, error);
        if (code == DriverCode::Ok && foreign) {
            error =
                plainError(DriverCode::DriverError, "The database already holds a table " + name +
                                                        " that this program did not make.");
            return error.code;
        }
        if (code == DriverCode::Ok) code = run(db, sql.createTable(), {}, action, error);
        if (code == DriverCode::Ok) code = createIndexes(db, sql, error);
        if (code == DriverCode::Ok) code = registerTable(db, sql, error);
        return code;
    });
}

DriverCode rebuildTableKeys(SqlConnection& db, const TableSql& sql, DriverError& error) {
    return inTransaction(db, error, [&] { return rebuildIndexes(db, sql, error); });
}

DriverCode dropTableKeys(SqlConnection& db, const TableSql& sql, DriverError& error) {
    return inTransaction(db, error, [&] { return dropIndexes(db, sql, error); });
}

DriverCode buildTableKeys(SqlConnection& db, const TableSql& sql, DriverError& error) {
    return inTransaction(db, error, [&] { return createIndexes(db, sql, error); });
}

}  // namespace dv
