#include "bench/BenchEngine.h"

#include <libpq-fe.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <string_view>

#include "storage/PostgresDatabase.h"
#include "storage/SqliteDatabase.h"
#include "storage/TableSql.h"
#include "support/PostgresCluster.h"

namespace dv::bench {
namespace {

Engine& chosen() {
    static Engine engine = Engine::Sqlite;
    return engine;
}

dv::test::PostgresCluster& cluster() {
    dv::test::PostgresCluster* cluster = dv::test::PostgresCluster::shared();
    if (cluster == nullptr)
        throw std::runtime_error("no PostgreSQL cluster: " + dv::test::PostgresCluster::whyNot());
    return *cluster;
}

}  // namespace

Engine takeEngineOption(int& argc, char** argv) {
    constexpr std::string_view kOption = "--engine=";
    int kept = 1;
    for (int a = 1; a < argc; ++a) {
        const std::string_view argument(argv[a]);
        if (!argument.starts_with(kOption)) {
            argv[kept++] = argv[a];
            continue;
        }
        const std::string_view name = argument.substr(kOption.size());
        if (name == "sqlite") {
            chosen() = Engine::Sqlite;
        } else if (name == "postgresql") {
            chosen() = Engine::Postgresql;
        } else {
            std::fprintf(stderr, "unknown engine \"%.*s\" (sqlite or postgresql)\n",
                         static_cast<int>(name.size()), name.data());
            std::exit(2);
        }
    }
    argc = kept;
    argv[argc] = nullptr;
    return chosen();
}

Engine engine() {
    return chosen();
}

std::string serverConnection(const std::string& database) {
    return database.empty() ? cluster().connection() : cluster().connection(database);
}

void serverCommand(const std::string& sql) {
    PGconn* conn = PQconnectdb(serverConnection().c_str());
    PGresult* result = PQexec(conn, sql.c_str());
    const bool done = PQresultStatus(result) == PGRES_COMMAND_OK;
    const std::string why = PQerrorMessage(conn);
    PQclear(result);
    PQfinish(conn);
    if (!done) throw std::runtime_error(sql + ": " + why);
}

std::unique_ptr<SqlConnection> engineConnection(const std::string& database) {
    if (!onServer()) return std::make_unique<SqliteDatabase>();
    auto server = std::make_unique<PostgresDatabase>(serverConnection(database));
    if (!server->startError().empty()) throw std::runtime_error(server->startError());
    return server;
}

std::unique_ptr<TableAccess> engineTables(MessageRaiser* errors, const std::string& database) {
    if (!onServer()) return std::make_unique<TableAccess>(errors);
    return std::make_unique<TableAccess>(errors, engineConnection(database));
}

std::string tableIn(SqlConnection& connection, const std::filesystem::path& directory,
                    const char* table) {
    std::string schema;
    DriverError error;
    if (connection.schemaFor(directory, false, schema, error) != DriverCode::Ok)
        throw std::runtime_error(error.text);
    return sqlName(schema) + "." + sqlName(connection.dialect().storedName(table));
}

benchmark::internal::Benchmark* registerOnEngine(const std::string& name,
                                                 void (*run)(benchmark::State&)) {
    return benchmark::RegisterBenchmark(name.c_str(), run)->Unit(benchmark::kMillisecond);
}

void labelEngine(benchmark::State& state, const std::string& text) {
    if (!onServer()) {
        if (!text.empty()) state.SetLabel(text);
        return;
    }
    state.SetLabel(text.empty() ? "postgresql" : text + " postgresql");
}

}  // namespace dv::bench
