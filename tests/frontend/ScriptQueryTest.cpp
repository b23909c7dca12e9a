#include <gtest/gtest.h>
#include <sqlite3.h>

#include "ScriptRunnerTestSupport.h"
#include "TempDirectory.h"
#include "frontend/headless/ScriptQuery.h"
#include "storage/SqliteDatabase.h"
#include "storage/TableAccess.h"

namespace dv {
namespace {

void execute(const std::filesystem::path& file, const char* sql) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(file.c_str(), &db), SQLITE_OK);
    char* error = nullptr;
    EXPECT_EQ(sqlite3_exec(db, sql, nullptr, nullptr, &error), SQLITE_OK) << error;
    sqlite3_free(error);
    sqlite3_close(db);
}

// A data directory with its database, inside a company directory with the company database,
// and the program's table access, whose connection the queries run on.
class ScriptQueryTest : public ::testing::Test {
  protected:
    ScriptQueryTest() {
        std::filesystem::create_directories(data());
        execute(data() / "dideroviv.db",
                "CREATE TABLE INVENTUR (STEVILKA INTEGER, NAZIV TEXT);"
                "INSERT INTO INVENTUR VALUES (2, 'Skladišče'), (1, NULL);");
        execute(company.path() / "dideroviv.db",
                "CREATE TABLE APPINS (SIFRAPODJETJA INTEGER, NAZIVPODJETJA TEXT);"
                "INSERT INTO APPINS VALUES (1, 'Trgovina d.o.o.');");
    }
    std::filesystem::path data() const { return company.path() / "PODATKI"; }

    std::optional<std::string> query(const std::string& sql) {
        error.clear();
        return ScriptQuery(data()).run(sql, error);
    }

    test::TempDirectory company;
    TableAccess tables;
    std::string error;
};

TEST_F(ScriptQueryTest, ReturnsRowsAsTextWithTheCompanyTablesAttached) {
    EXPECT_EQ(query("SELECT STEVILKA, NAZIV FROM INVENTUR ORDER BY STEVILKA"),
              std::optional<std::string>("1|\n2|Skladišče"));
    EXPECT_EQ(query("SELECT NAZIVPODJETJA FROM APPINS WHERE SIFRAPODJETJA = 1;  "),
              std::optional<std::string>("Trgovina d.o.o."));
    EXPECT_EQ(query("SELECT * FROM INVENTUR WHERE STEVILKA > 5"), std::optional<std::string>(""));
}

TEST_F(ScriptQueryTest, ChangesNothingAndTakesOneStatementOnly) {
    EXPECT_FALSE(query("DELETE FROM INVENTUR"));
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(query("SELECT 1; DELETE FROM INVENTUR"));
    EXPECT_EQ(error, "only one statement may be given");
    EXPECT_FALSE(query("SELECT * FROM NIC"));
    EXPECT_NE(error.find("no such table"), std::string::npos) << error;
    EXPECT_FALSE(query(""));
    EXPECT_EQ(query("SELECT COUNT(*) FROM INVENTUR"), std::optional<std::string>("2"));

    std::string why;
    EXPECT_FALSE(ScriptQuery(company.path() / "NIC").run("SELECT 1", why));
    EXPECT_NE(why.find("there is no database"), std::string::npos) << why;
}

// The queries read through the program's own connection: the databases they need are attached
// to it, and what the program has not committed yet is not shown as if it were.
TEST_F(ScriptQueryTest, RunsOnTheProgramsConnectionAndOnlyOutsideItsTransactions) {
    sqlite3* connection = tables.sqliteDatabase()->handle();
    EXPECT_EQ(sqlite3_db_filename(connection, "d1"), nullptr);
    EXPECT_EQ(query("SELECT COUNT(*) FROM APPINS"), std::optional<std::string>("1"));
    ASSERT_NE(sqlite3_db_filename(connection, "d2"), nullptr);
    EXPECT_EQ(std::filesystem::path(sqlite3_db_filename(connection, "d1")),
              std::filesystem::weakly_canonical(data() / "dideroviv.db"));
    EXPECT_EQ(std::filesystem::path(sqlite3_db_filename(connection, "d2")),
              std::filesystem::weakly_canonical(company.path() / "dideroviv.db"));

    ASSERT_EQ(tables.beginTransaction(), DriverCode::Ok);
    EXPECT_FALSE(query("SELECT COUNT(*) FROM INVENTUR"));
    EXPECT_NE(error.find("transaction"), std::string::npos) << error;
    ASSERT_EQ(tables.rollback(), DriverCode::Ok);
    EXPECT_EQ(query("SELECT COUNT(*) FROM INVENTUR"), std::optional<std::string>("2"));
}

TEST(ScriptQueryWithoutTables, SaysSoInsteadOfQuerying) {
    test::TempDirectory directory;
    execute(directory.path() / "dideroviv.db", "CREATE TABLE T (A)");
    std::string why;
    EXPECT_FALSE(ScriptQuery(directory.path()).run("SELECT 1", why));
    EXPECT_EQ(why, "the program has no tables open to query");
}

// The directory comes first, so that it exists when the runner's services are made.
struct WithDataDirectory {
    test::TempDirectory directory;
    TableAccess tables;
};

class ScriptSqlTest : private WithDataDirectory, public test::ScriptRunnerTest {
  protected:
    ScriptSqlTest() : test::ScriptRunnerTest(services()) {}

    ScriptServices services() {
        execute(directory.path() / "dideroviv.db",
                "CREATE TABLE SFENOTE (ENOTA INTEGER, NAZIV TEXT);"
                "INSERT INTO SFENOTE VALUES (1, 'Center'), (2, 'Skladišče');");
        ScriptServices s;
        s.sql = [path = directory.path()](const std::string& sql, std::string& why) {
            return ScriptQuery(path).run(sql, why);
        };
        return s;
    }
};

TEST_F(ScriptSqlTest, ComparesTheQueryResultAsText) {
    auto failure =
        run(R"(sql "SELECT ENOTA, NAZIV FROM SFENOTE ORDER BY ENOTA" "1|Center\n2|Skladišče")");
    ASSERT_FALSE(failure) << failure->report();

    failure =
        run("sql \"SELECT NAZIV FROM SFENOTE WHERE ENOTA = 2\" \"Skladišče\"\n"
            "sql \"SELECT COUNT(*) FROM SFENOTE\" \"3\"");
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->line, 2);
    EXPECT_EQ(failure->seen, "\"2\"");
    failure = run(R"(sql "SELECT NAZIV FROM SFENOTE ORDER BY ENOTA" "Center|Skladišče")");
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->seen, R"("Center\\nSkladišče")");
    failure = run("sql \"SELECT * FROM NIC\" \"\"");
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->expected, "the query to run");
}

}  // namespace
}  // namespace dv
