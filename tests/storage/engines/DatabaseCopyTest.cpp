// The copy of a company's embedded databases into an empty server database: the mechanism
// (storage/DatabaseCopy.h) and the verb "copy-to" of the program, on the throwaway cluster that
// every test of this program shares. Each test copies into a database of its own.
#include <gtest/gtest.h>
#include <libpq-fe.h>

#include <algorithm>
#include <atomic>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "StorageTestSupport.h"
#include "data/Dictionary.h"
#include "data/ProgramDirectory.h"
#include "data/RecordBuffers.h"
#include "data/SettingsManager.h"
#include "data/TableFileNames.h"
#include "data/TableFiles.h"
#include "frontend/ProgramRun.h"
#include "schema/Records.h"
#include "storage/DatabaseCopy.h"
#include "storage/PostgresDatabase.h"
#include "storage/TableDrivers.h"
#include "support/PostgresCluster.h"

namespace dv::test {
namespace {

namespace fs = std::filesystem;
using Rows = std::vector<std::vector<std::string>>;

bool contains(const std::string& text, std::string_view part) {
    return text.find(part) != std::string::npos;
}

// A plain libpq connection that looks at a server database from outside the engine.
class ServerView {
  public:
    explicit ServerView(const std::string& connection) : conn_(PQconnectdb(connection.c_str())) {
        EXPECT_EQ(PQstatus(conn_), CONNECTION_OK) << PQerrorMessage(conn_);
    }
    ~ServerView() { PQfinish(conn_); }
    ServerView(const ServerView&) = delete;
    ServerView& operator=(const ServerView&) = delete;

    Rows rows(const std::string& sql) {
        PGresult* result = PQexec(conn_, sql.c_str());
        const ExecStatusType status = PQresultStatus(result);
        EXPECT_TRUE(status == PGRES_TUPLES_OK || status == PGRES_COMMAND_OK)
            << sql << ": " << PQerrorMessage(conn_);
        Rows read;
        for (int r = 0; r < PQntuples(result); ++r) {
            read.emplace_back();
            for (int c = 0; c < PQnfields(result); ++c) read.back().emplace_back(PQgetvalue(result, r, c));
        }
        PQclear(result);
        return read;
    }

    // Every directory recorded and every table outside the server's own schemas with its row
    // count: what a refused or failed copy must leave as it was.
    std::vector<std::string> state() {
        std::vector<std::string> state;
        if (!rows("SELECT 1 FROM pg_tables WHERE schemaname = 'public' AND tablename = "
                  "'_SCHEMAS'")
                 .empty())
            for (const auto& entry :
                 rows("SELECT \"SCHEMA\" || ' ' || \"DIRECTORY\" FROM public.\"_SCHEMAS\""))
                state.push_back("directory " + entry[0]);
        for (const auto& table :
             rows("SELECT schemaname, tablename FROM pg_tables WHERE schemaname NOT IN "
                  "('pg_catalog', 'information_schema') ORDER BY 1, 2"))
            state.push_back(table[0] + "." + table[1] + " " +
                            rows("SELECT count(*) FROM \"" + table[0] + "\".\"" + table[1] +
                                 "\"")[0][0]);
        for (const auto& schema : rows("SELECT nspname FROM pg_namespace WHERE nspname ~ '^d[0-9]'"))
            state.push_back("schema " + schema[0]);
        return state;
    }

    // Nothing of the program but the list of directories, and no directory in it.
    void expectEmpty() {
        const std::vector<std::string> left = state();
        EXPECT_TRUE(left.empty() || left == std::vector<std::string>{"public._SCHEMAS 0"})
            << ::testing::PrintToString(left);
    }

  private:
    PGconn* conn_;
};

// A database of the cluster that nobody used yet.
std::string freshDatabase() {
    static std::atomic<int> made{0};
    PostgresCluster* cluster = PostgresCluster::shared();
    if (cluster == nullptr) return {};
    const std::string name = "copy_" + std::to_string(++made);
    ServerView(cluster->connection()).rows("CREATE DATABASE " + name);
    return "host=" + cluster->folder().string() + " user=postgres dbname=" + name;
}

// The table file names of a program directory resolved as at start, put back when it ends.
class ProgramFiles {
  public:
    explicit ProgramFiles(const fs::path& directory) {
        const FileResult resolved = resolveTableFileNames(settings_, directory);
        EXPECT_TRUE(resolved.ok()) << resolved.error;
    }
    ~ProgramFiles() {
        resetTableFileNames();
        clearAllRecordBuffers();
    }
    ProgramFiles(const ProgramFiles&) = delete;
    ProgramFiles& operator=(const ProgramFiles&) = delete;

  private:
    SettingsManager settings_;
};

// The schema of a table's directory on a connection; empty when it has none.
std::string schemaOf(SqlConnection& db, std::string_view table) {
    std::string schema;
    DriverError error;
    const fs::path file = hostPath(tableFileName(table));
    if (db.schemaFor(file.parent_path(), false, schema, error) != DriverCode::Ok) return {};
    return schema;
}

// Every row of a table as stored, row id and version first, in row id order.
Rows storedRows(SqlConnection& db, const TableDef& table) {
    const TableSchema layout(table);
    const TableSql sql(layout, schemaOf(db, table.name), db.dialect());
    std::string select = "SELECT \"_ROW\",\"_VERSION\"";
    for (const Column& column : layout.columns()) select += "," + sql.name(column.name);
    DriverError error;
    SqlStatement* statement =
        db.statement(select + " FROM " + sql.qualifiedName() + " ORDER BY \"_ROW\"", "read", error);
    EXPECT_NE(statement, nullptr) << error.text;
    Rows rows;
    if (statement == nullptr) return rows;
    StatementUse use(*statement);
    while (statement->step() == StepResult::Row) {
        rows.emplace_back();
        rows.back().push_back(std::to_string(statement->integer(0)));
        rows.back().push_back(std::to_string(statement->integer(1)));
        for (std::size_t c = 0; c < layout.columns().size(); ++c) {
            const int at = static_cast<int>(c + 2);
            rows.back().push_back(layout.columns()[c].kind == ColumnKind::Text
                                      ? std::string(statement->text(at))
                                      : std::to_string(statement->integer(at)));
        }
    }
    return rows;
}

// The row ids of a table in the order of each of its keys, read through the engine's driver.
std::vector<std::vector<std::int64_t>> keyOrders(SqlConnection& db, const TableDef& table) {
    std::vector<std::vector<std::int64_t>> orders;
    const auto driver = makeTableDriver(db, table, hostPath(tableFileName(table.name)));
    EXPECT_EQ(driver->open(AccessMode::ReadOnly), DriverCode::Ok)
        << table.name << ": " << driver->lastError().text;
    for (int key = kFileOrder; key < static_cast<int>(table.keys.size()); ++key) {
        orders.emplace_back();
        EXPECT_EQ(driver->setToStart(key), DriverCode::Ok);
        while (driver->next() == DriverCode::Ok) orders.back().push_back(driver->position().row);
    }
    return orders;
}

// The tables the embedded databases of the directory hold, with their rows.
std::map<std::string, Rows> embeddedTables() {
    SqliteDatabase db;
    std::map<std::string, Rows> tables;
    for (const TableFile& file : tableFiles()) {
        const TableDef* table = findTable(file.table);
        if (isTextFileTable(*table) || schemaOf(db, table->name).empty()) continue;
        DriverError error;
        SqlStatement* found = db.statement(db.dialect().tableExists(schemaOf(db, table->name)),
                                           "look", error);
        if (found == nullptr) {
            ADD_FAILURE() << error.text;
            continue;
        }
        StatementUse use(*found);
        found->bind(1, table->name);
        if (found->step() == StepResult::Row)
            tables[std::string(table->name)] = storedRows(db, *table);
    }
    return tables;
}

class DatabaseCopyTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_NE(PostgresCluster::shared(), nullptr) << PostgresCluster::whyNot();
        connection = freshDatabase();
        const ProgramRun demo = runProgram(program, "demo --items 40");
        ASSERT_EQ(demo.status, 0) << demo.output;
    }

    // Runs the copy of the program directory into the test's database.
    CopyOutcome copy(const CopyProgress& progress = {}) {
        const ProgramFiles files(program);
        SqliteDatabase source;
        PostgresDatabase target(connection);
        return copyToServer(source, program, target, progress);
    }

    // Changes a row of the embedded databases with SQL of its own (no rules, no versions).
    void changeEmbedded(std::string_view table, const std::string& change) {
        const ProgramFiles files(program);
        SqliteDatabase db;
        DriverError error;
        const std::string schema = schemaOf(db, table);
        ASSERT_FALSE(schema.empty());
        std::string sql = change;
        for (std::size_t at; (at = sql.find("TABLE")) != std::string::npos;)
            sql.replace(at, 5, sqlName(schema) + "." + sqlName(table));
        ASSERT_EQ(db.execute(sql, "change", error), DriverCode::Ok) << error.text;
    }

    TempDirectory root;
    fs::path program = [this] {
        fs::create_directories(root / "firma");
        return root / "firma";
    }();
    std::string connection;
};

TEST_F(DatabaseCopyTest, EveryTableArrivesWithItsRowIdsVersionsAndKeysAndTheEngineAddsAfterThem) {
    // A deleted row leaves a gap in the row ids and a changed one a version above 0: both kept.
    changeEmbedded("ARTIKLI", "DELETE FROM TABLE WHERE \"_ROW\" = 3");
    changeEmbedded("ARTIKLI", "UPDATE TABLE SET \"_VERSION\" = 7 WHERE \"_ROW\" = 5");
    const CopyOutcome outcome = copy();
    ASSERT_TRUE(outcome.ok()) << outcome.message;

    const ProgramFiles files(program);
    const std::map<std::string, Rows> embedded = embeddedTables();
    std::vector<std::string> copiedNames;
    for (const CopiedTable& table : outcome.tables) {
        copiedNames.push_back(table.table);
        EXPECT_EQ(table.rows, static_cast<std::int64_t>(embedded.at(table.table).size()))
            << table.table;
    }
    std::vector<std::string> startUpOrder;
    for (const TableFile& file : tableFiles())
        if (embedded.contains(std::string(file.table))) startUpOrder.emplace_back(file.table);
    EXPECT_EQ(copiedNames, startUpOrder);
    EXPECT_EQ(embedded.at("ARTIKLI").size(), 39u);

    SqliteDatabase source;
    PostgresDatabase server(connection);
    ASSERT_EQ(server.startError(), "");
    for (const auto& [name, rows] : embedded) {
        const TableDef& table = *findTable(name);
        EXPECT_EQ(storedRows(server, table), rows) << name;
        // Opening checks the structure and every key's index as the program does.
        EXPECT_EQ(keyOrders(server, table), keyOrders(source, table)) << name;
    }
    EXPECT_EQ(storedRows(server, *findTable("ARTIKLI"))[3][1], "7");
    EXPECT_EQ(schemaOf(server, "ARTIKLI"), schemaOf(server, "INVENDET"));
    EXPECT_NE(schemaOf(server, "ARTIKLI"), schemaOf(server, "APPINS")) << "the company's own";

    const TableDef& units = *findTable("SFENOTE");
    const std::int64_t highest = std::stoll(embedded.at("SFENOTE").back()[0]);
    const auto driver = makeTableDriver(server, units, hostPath(tableFileName("SFENOTE")));
    ASSERT_EQ(driver->open(AccessMode::ReadWrite), DriverCode::Ok) << driver->lastError().text;
    clearRecord(units, driver->record());
    auto& unit = *static_cast<SFENOTERecord*>(driver->record());
    unit.Enota = 999;
    unit.Naziv = "Novo skladišče";
    ASSERT_EQ(driver->add(), DriverCode::Ok) << driver->lastError().text;
    EXPECT_EQ(driver->position().row, highest + 1);
}

TEST_F(DatabaseCopyTest, AServerThatHoldsDataOrADirectoryWithoutDataIsRefusedChangingNothing) {
    ASSERT_TRUE(copy().ok());
    std::vector<std::string> before = ServerView(connection).state();
    ASSERT_FALSE(before.empty());
    CopyOutcome again = copy();
    EXPECT_EQ(again.result, CopyResult::Refused);
    EXPECT_TRUE(contains(again.message, "ni prazna")) << again.message;
    EXPECT_TRUE(contains(again.message, "imenika " + root.path().string())) << again.message;
    EXPECT_TRUE(contains(again.message, "nič ni bilo spremenjeno")) << again.message;
    EXPECT_TRUE(again.tables.empty());
    EXPECT_EQ(ServerView(connection).state(), before);

    // A schema named as the program names them, left without its record, would be taken for
    // the first directory's.
    connection = freshDatabase();
    ServerView(connection).rows("CREATE SCHEMA d1");
    ASSERT_EQ(PostgresDatabase(connection).startError(), "") << "makes what every connection needs";
    before = ServerView(connection).state();
    again = copy();
    EXPECT_EQ(again.result, CopyResult::Refused);
    EXPECT_TRUE(contains(again.message, "shema d1")) << again.message;
    EXPECT_EQ(ServerView(connection).state(), before);

    // The company tables of the parent alone are no data of the directory.
    connection = freshDatabase();
    fs::create_directories(root / "prazna");
    program = root / "prazna";
    again = copy();
    EXPECT_EQ(again.result, CopyResult::Refused);
    EXPECT_TRUE(contains(again.message, "ni podatkov programa")) << again.message;
    ServerView(connection).expectEmpty();
}

TEST_F(DatabaseCopyTest, AStatementTheServerRefusesInTheMiddleUndoesTheWholeCopy) {
    // Texts the embedded database keeps as they were given and the server cannot take, in the
    // last row of a table copied after others: bytes that are no UTF-8, which the server
    // refuses, and a zero byte, which would cut the text short unnoticed.
    const struct {
        std::string_view table;
        std::string value;
        std::string_view says;
    } faults[] = {{"ARTIKLI", "CAST(X'C328' AS TEXT)", "UTF8"},
                  {"SFPARTN", "CAST(X'410042' AS TEXT)", "ničelni bajt"}};
    for (const auto& fault : faults) {
        connection = freshDatabase();
        const TableSchema layout(*findTable(fault.table));
        const auto text = std::find_if(layout.columns().begin(), layout.columns().end(),
                                       [](const Column& c) { return c.kind == ColumnKind::Text; });
        ASSERT_NE(text, layout.columns().end());
        changeEmbedded(fault.table, "UPDATE TABLE SET " + sqlName(text->name) + " = " +
                                        fault.value +
                                        " WHERE \"_ROW\" = (SELECT max(\"_ROW\") FROM TABLE)");
        std::vector<std::string> copiedFirst;
        const CopyOutcome outcome =
            copy([&](const CopiedTable& table) { copiedFirst.push_back(table.table); });
        EXPECT_EQ(outcome.result, CopyResult::Failed);
        EXPECT_TRUE(contains(outcome.message, "pri tabeli " + std::string(fault.table)))
            << outcome.message;
        EXPECT_TRUE(contains(outcome.message, fault.says)) << outcome.message;
        EXPECT_TRUE(contains(outcome.message, "preklicano")) << outcome.message;
        EXPECT_TRUE(outcome.tables.empty());
        EXPECT_FALSE(copiedFirst.empty()) << "tables were copied before it";
        ServerView(connection).expectEmpty();
        changeEmbedded(fault.table, "UPDATE TABLE SET " + sqlName(text->name) + " = 'A'");
    }
}

TEST_F(DatabaseCopyTest, AConnectionLostInTheMiddleUndoesTheWholeCopy) {
    const std::string name = connection.substr(connection.rfind('=') + 1);
    int copied = 0;
    const CopyOutcome outcome = copy([&](const CopiedTable&) {
        if (++copied != 2) return;
        ServerView(PostgresCluster::shared()->connection())
            .rows("SELECT pg_terminate_backend(pid) FROM pg_stat_activity WHERE datname = '" +
                  name + "' AND pid <> pg_backend_pid()");
    });
    EXPECT_EQ(outcome.result, CopyResult::Failed);
    EXPECT_TRUE(contains(outcome.message, "prekinjena")) << outcome.message;
    EXPECT_TRUE(contains(outcome.message, "preklicano")) << outcome.message;
    EXPECT_EQ(copied, 2);
    ServerView(connection).expectEmpty();
}

// The table lines of the verb's output: "TABLE: N vrstic".
std::map<std::string, std::string> tableLines(const std::string& output) {
    std::map<std::string, std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = output.find('\n', start)) != std::string::npos; start = end + 1) {
        const std::string line = output.substr(start, end - start);
        const auto colon = line.find(": ");
        if (colon != std::string::npos) lines[line.substr(0, colon)] = line.substr(colon + 2);
    }
    return lines;
}

TEST_F(DatabaseCopyTest, TheVerbPrintsTheRowsPerTableAndSaysWhyItRefusesWithItsExitCode) {
    PostgresCluster& cluster = *PostgresCluster::shared();
    const auto run = [&](const fs::path& directory, const std::string& connection) {
        return runProgram(directory, "copy-to '" + connection + "'");
    };
    const ProgramRun usage = runProgram(program, "copy-to");
    EXPECT_EQ(usage.status, 2);
    EXPECT_TRUE(contains(usage.output, "usage: copy-to CONNINFO")) << usage.output;

    const std::string host = "host=" + cluster.folder().string();
    const struct {
        std::string connection;
        std::string_view says;
    } unusable[] = {
        {"host=/nonexistent-dv-socket dbname=dideroviv", "Strežnika zbirke podatkov ni mogoče doseči"},
        {cluster.missingDatabase(), "Zbirke podatkov na strežniku ni"},
        {host + " user=nobody_at_all dbname=dideroviv", "zavrnil prijavo"},
    };
    for (const auto& server : unusable) {
        const ProgramRun refused = run(program, server.connection);
        EXPECT_EQ(refused.status, 1) << server.connection;
        EXPECT_TRUE(contains(refused.output, server.says)) << refused.output;
    }

    fs::create_directories(root / "prazna");
    const auto files = [&] {
        std::set<std::string> names;
        for (const auto& entry : fs::recursive_directory_iterator(root.path()))
            names.insert(entry.path().string());
        return names;
    };
    const auto before = files();
    const ProgramRun empty = run(root / "prazna", connection);
    EXPECT_EQ(empty.status, 1);
    EXPECT_TRUE(contains(empty.output, "ni podatkov programa")) << empty.output;
    EXPECT_EQ(files(), before) << "no settings file left behind";
    ServerView(connection).expectEmpty();

    const ProgramRun copied = run(program, connection);
    ASSERT_EQ(copied.status, 0) << copied.output;
    const auto lines = tableLines(copied.output);
    EXPECT_EQ(lines.at("ARTIKLI"), "40 vrstic");
    EXPECT_EQ(lines.at("APPINS"), "1 vrstica");
    std::int64_t total = 0;
    std::size_t tables = 0;
    for (const auto& [table, rows] : lines) {
        if (table == "Skupaj") continue;
        total += std::stoll(rows);
        ++tables;
    }
    EXPECT_TRUE(lines.at("Skupaj").starts_with(std::to_string(total) + " vrstic v " +
                                               std::to_string(tables) + " tabelah"))
        << copied.output;

    const ProgramRun second = run(program, connection);
    EXPECT_EQ(second.status, 1);
    EXPECT_TRUE(contains(second.output, "ni prazna")) << second.output;
}

}  // namespace
}  // namespace dv::test
