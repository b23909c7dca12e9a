#include <gtest/gtest.h>

#include "StorageTestSupport.h"
#include "storage/ReadOnlyQuery.h"

namespace dv::test {
namespace {

// Queries on the program's own connection, over a table of people opened through it.
class ReadOnlyQuery : public ::testing::Test {
  protected:
    ReadOnlyQuery() { addAll(*people, {person("A", "Ana", 1), person("B", "", 2)}); }

    std::optional<std::string> query(const std::string& sql) {
        error.clear();
        return queryAsText(db, sql, error);
    }
    std::string count() { return query("SELECT COUNT(*) FROM PEOPLE").value_or("failed"); }

    TempDirectory directory;
    SqliteDatabase db;
    std::unique_ptr<SqliteTable> people = openTable(db, peopleTable(), directory.path());
    std::string error;
};

TEST_F(ReadOnlyQuery, GivesRowsAsTextAndTakesOneStatementOnly) {
    EXPECT_EQ(query("SELECT CODE, NAME, NUMBER FROM PEOPLE ORDER BY CODE"),
              std::optional<std::string>("A|Ana|1\nB||2"));
    EXPECT_EQ(query("SELECT NULL, 'x';  \n"), std::optional<std::string>("|x"));
    EXPECT_EQ(query("SELECT CODE FROM PEOPLE WHERE NUMBER > 5"), std::optional<std::string>(""));

    EXPECT_FALSE(query("SELECT 1; DELETE FROM PEOPLE"));
    EXPECT_EQ(error, "only one statement may be given");
    EXPECT_FALSE(query(" ; "));
    EXPECT_EQ(error, "the query is empty");
    EXPECT_FALSE(query("SELECT * FROM NOBODY"));
    EXPECT_NE(error.find("no such table"), std::string::npos) << error;
    EXPECT_EQ(count(), "2");
}

// The connection is the program's: a statement that writes, or that would change the
// connection under the program (its transaction, its attached databases, its settings), is
// refused before it runs, and the program's own work goes on as before.
TEST_F(ReadOnlyQuery, RefusesWhatWritesOrChangesTheConnection) {
    for (const char* sql :
         {"DELETE FROM PEOPLE", "INSERT INTO PEOPLE (CODE) VALUES ('C')",
          "UPDATE PEOPLE SET NAME = 'X'", "DROP TABLE PEOPLE", "CREATE TEMP TABLE T (A)", "BEGIN",
          "COMMIT", "SAVEPOINT s", "ATTACH DATABASE ':memory:' AS other", "DETACH d1",
          "PRAGMA d1.journal_mode = DELETE", "PRAGMA query_only = ON", "VACUUM",
          "WITH x AS (SELECT 1) DELETE FROM PEOPLE"}) {
        EXPECT_FALSE(query(sql)) << sql;
        EXPECT_EQ(error, "only a statement that reads may be given") << sql;
    }
    EXPECT_EQ(count(), "2");
    // Nothing of the refused statements stayed behind: the program writes in a transaction of
    // its own and reads on.
    EXPECT_EQ(people->beginTransaction(), DriverCode::Ok);
    PersonRecord& buffer = *static_cast<PersonRecord*>(people->record());
    buffer = person("C", "Cene", 3);
    EXPECT_EQ(people->add(), DriverCode::Ok);
    EXPECT_EQ(people->commit(), DriverCode::Ok);
    EXPECT_EQ(count(), "3");
}

// Inside a transaction the connection would show changes not yet committed as if they were.
TEST_F(ReadOnlyQuery, IsRefusedWhileATransactionRuns) {
    ASSERT_EQ(people->beginTransaction(), DriverCode::Ok);
    PersonRecord& buffer = *static_cast<PersonRecord*>(people->record());
    buffer = person("C", "Cene", 3);
    ASSERT_EQ(people->add(), DriverCode::Ok);
    EXPECT_FALSE(query("SELECT COUNT(*) FROM PEOPLE"));
    EXPECT_EQ(error, "a transaction is running, whose changes are not committed yet");
    ASSERT_EQ(people->rollback(), DriverCode::Ok);
    EXPECT_EQ(count(), "2");
}

// What another program committed is seen: each query reads the databases as they stand.
TEST_F(ReadOnlyQuery, SeesWhatAnotherConnectionCommitted) {
    RawDatabase other(db.databaseFile(directory.path()));
    ASSERT_EQ(other.exec("UPDATE PEOPLE SET NAME = 'Bojan' WHERE CODE = 'B'"), SQLITE_OK);
    EXPECT_EQ(query("SELECT NAME FROM PEOPLE WHERE CODE = 'B'"),
              std::optional<std::string>("Bojan"));
}

}  // namespace
}  // namespace dv::test
