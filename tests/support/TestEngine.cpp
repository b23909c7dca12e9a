#include "support/TestEngine.h"

#include <cstdlib>
#include <string_view>

#include <libpq-fe.h>

#include "storage/PostgresDatabase.h"
#include "storage/SqliteDatabase.h"
#include "support/PostgresCluster.h"

namespace dv::test {

bool testsOnServer() {
    static const bool server = [] {
        const char* engine = std::getenv("DV_TEST_ENGINE");
        return engine != nullptr && std::string_view(engine) == "postgresql";
    }();
    return server;
}

std::string testServerConnection() {
    PostgresCluster* cluster = PostgresCluster::shared();
    if (cluster == nullptr) {
        ADD_FAILURE() << "no PostgreSQL cluster for the tests: " << PostgresCluster::whyNot();
        return "";
    }
    return cluster->connection();
}

std::unique_ptr<SqlConnection> testConnection(const DatabaseOptions& options) {
    if (!testsOnServer()) return std::make_unique<SqliteDatabase>(options);
    auto server = std::make_unique<PostgresDatabase>(testServerConnection());
    EXPECT_EQ(server->startError(), "");
    return server;
}

std::unique_ptr<TableAccess> testTableAccess(MessageRaiser* errors,
                                             const DatabaseOptions& options) {
    return std::make_unique<TableAccess>(errors, testConnection(options));
}

void runOnServer(const std::string& sql) {
    PGconn* conn = PQconnectdb(testServerConnection().c_str());
    PGresult* result = PQexec(conn, sql.c_str());
    EXPECT_EQ(PQresultStatus(result), PGRES_COMMAND_OK) << PQerrorMessage(conn) << sql;
    PQclear(result);
    PQfinish(conn);
}

std::string queryServer(const std::string& sql) {
    PGconn* conn = PQconnectdb(testServerConnection().c_str());
    PGresult* result = PQexec(conn, sql.c_str());
    EXPECT_EQ(PQresultStatus(result), PGRES_TUPLES_OK) << PQerrorMessage(conn) << sql;
    std::string value;
    if (PQresultStatus(result) == PGRES_TUPLES_OK && PQntuples(result) > 0)
        value = PQgetvalue(result, 0, 0);
    PQclear(result);
    PQfinish(conn);
    return value;
}

std::string serverSchema(TableAccess& access, const std::filesystem::path& directory) {
    std::string schema;
    DriverError error;
    EXPECT_EQ(access.database().schemaFor(directory, false, schema, error), DriverCode::Ok)
        << error.text;
    return schema;
}

void cutConnectionAfter(const std::string& schema, const std::string& table, int rows) {
    const std::string name = schema + "_" + table + "_cut";
    runOnServer("CREATE SEQUENCE public." + name + "_rows; "
                "CREATE FUNCTION public." + name + "() RETURNS trigger LANGUAGE plpgsql AS $$ "
                "BEGIN IF nextval('public." + name + "_rows') > " + std::to_string(rows) +
                " THEN PERFORM pg_terminate_backend(pg_backend_pid()); END IF; RETURN NEW; END $$; "
                "CREATE TRIGGER cut BEFORE INSERT OR UPDATE ON \"" + schema + "\".\"" + table +
                "\" FOR EACH ROW EXECUTE FUNCTION public." + name + "()");
}

void serverConnectionsKeep(const std::string& schema, const std::string& table) {
    const std::string name = schema + "_" + table + "_cut";
    runOnServer("DROP TRIGGER cut ON \"" + schema + "\".\"" + table + "\"; DROP FUNCTION public." +
                name + "(); DROP SEQUENCE public." + name + "_rows");
}

}  // namespace dv::test
