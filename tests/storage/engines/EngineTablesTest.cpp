// The table driver on each engine: the embedded database and a PostgreSQL server (a throwaway
// cluster shared by every test of this program).
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "StorageTestSupport.h"
#include "storage/PostgresDatabase.h"
#include "storage/SqliteDatabase.h"
#include "support/PostgresCluster.h"

namespace dv::test {
namespace {

enum class Engine { Sqlite, Postgres };

std::unique_ptr<PostgresDatabase> serverConnection() {
    PostgresCluster* cluster = PostgresCluster::shared();
    if (cluster == nullptr) return nullptr;
    return std::make_unique<PostgresDatabase>(cluster->connection());
}

class EngineTables : public ::testing::TestWithParam<Engine> {
  protected:
    void SetUp() override {
        if (GetParam() == Engine::Postgres) {
            auto server = serverConnection();
            ASSERT_NE(server, nullptr) << PostgresCluster::whyNot();
            ASSERT_EQ(server->startError(), "");
            db = std::move(server);
        } else {
            db = std::make_unique<SqliteDatabase>();
        }
        people = openTable(*db, peopleTable(), directory.path());
        ASSERT_TRUE(people->isOpen());
    }

    PersonRecord& buffer() { return *static_cast<PersonRecord*>(people->record()); }
    std::vector<std::string> names(bool forward = true) {
        std::vector<std::string> read;
        EXPECT_EQ(forward ? people->setToStart(NameKey) : people->setToEnd(NameKey),
                  DriverCode::Ok);
        while ((forward ? people->next() : people->previous()) == DriverCode::Ok)
            read.push_back(buffer().Name.str());
        return read;
    }

    TempDirectory directory;
    std::unique_ptr<SqlConnection> db;
    std::unique_ptr<SqliteTable> people;
};

TEST_P(EngineTables, KeysOrderByTheirComponentsAndDirectionsThenByTheOrderAdded) {
    addAll(*people, {person("A", "", 2, 10), person("B", "", 1, 5), person("C", "", 2, 30),
                     person("D", "", 1, 7), person("E", "", 3, 1), person("F", "", 2, 30)});
    const std::vector<std::string> forward{"D", "B", "C", "F", "A", "E"};
    EXPECT_EQ(codesInOrder(*people, NumberKey), forward);
    EXPECT_EQ(codesInOrder(*people, NumberKey, false),
              std::vector<std::string>(forward.rbegin(), forward.rend()));
    EXPECT_EQ(codesInOrder(*people, kFileOrder),
              (std::vector<std::string>{"A", "B", "C", "D", "E", "F"}));
    EXPECT_EQ(people->records(), 6);
}

TEST_P(EngineTables, NamesFollowTheSlovenianAlphabetWithoutRegardToCaseInKeysAndLocators) {
    const std::vector<std::string> added{"Žan",  "zala", "šola", "Sonja",  "čebula", "Cvet",
                                         "cilj", "Ana",  "Sara", "Danica", "Čarli",  "ČEBULA"};
    for (std::size_t i = 0; i < added.size(); ++i)
        addAll(*people, {person("N" + std::to_string(i), added[i])});
    const std::vector<std::string> order{"Ana",    "cilj",  "Cvet", "Čarli", "čebula", "ČEBULA",
                                         "Danica", "Sara",  "Sonja", "šola", "zala",   "Žan"};
    EXPECT_EQ(names(), order);
    EXPECT_EQ(names(false), std::vector<std::string>(order.rbegin(), order.rend()));
    // A locator lies before the first name at or after it, case ignored.
    buffer().Name = "ČE";
    ASSERT_EQ(people->set(NameKey), DriverCode::Ok);
    ASSERT_EQ(people->next(), DriverCode::Ok);
    EXPECT_EQ(buffer().Name.str(), "čebula");
    buffer().Name = "S";
    ASSERT_EQ(people->set(NameKey), DriverCode::Ok);
    ASSERT_EQ(people->previous(), DriverCode::Ok);
    EXPECT_EQ(buffer().Name.str(), "Danica");
    buffer().Name = "Š";
    ASSERT_EQ(people->set(NameKey), DriverCode::Ok);
    ASSERT_EQ(people->next(), DriverCode::Ok);
    EXPECT_EQ(buffer().Name.str(), "šola");
    // Equal names under the key: the first one added.
    buffer().Name = "čEbUlA";
    ASSERT_EQ(people->get(NameKey), DriverCode::Ok);
    EXPECT_EQ(buffer().Code.str(), "N4");
}

TEST_P(EngineTables, AUniqueKeyRefusesASecondRecordAndCodesCompareExactly) {
    addAll(*people, {person("abc", "Ana")});
    buffer() = person("abc", "Other");
    EXPECT_EQ(people->add(), DriverCode::DuplicateKey);
    buffer() = person("ABC", "Other");
    EXPECT_EQ(people->add(), DriverCode::Ok) << people->lastError().text;
    EXPECT_EQ(people->records(), 2);
}

// Many runs of the same statements in one transaction (the server prepares them anew as they
// run on), then a unique key read over several pages in both directions and from a locator.
TEST_P(EngineTables, ManyRunsInOneTransactionAndAUniqueKeyReadOverSeveralPages) {
    const auto code = [](int i) {
        std::string text = std::to_string(i);
        return "K" + std::string(3 - text.size(), '0') + text;
    };
    ASSERT_EQ(people->beginTransaction(), DriverCode::Ok);
    for (int i = 0; i < 300; ++i) {
        buffer() = person(code(299 - i), "Ime", i);
        ASSERT_EQ(people->add(), DriverCode::Ok) << people->lastError().text;
        buffer().Code = code(299 - i / 2);
        ASSERT_EQ(people->get(CodeKey), DriverCode::Ok) << i << people->lastError().text;
        ASSERT_EQ(buffer().Number, i / 2);
    }
    ASSERT_EQ(people->commit(), DriverCode::Ok) << people->lastError().text;
    std::vector<std::string> expected;
    for (int i = 0; i < 300; ++i) expected.push_back(code(i));
    EXPECT_EQ(codesInOrder(*people, CodeKey), expected);
    EXPECT_EQ(codesInOrder(*people, CodeKey, false),
              std::vector<std::string>(expected.rbegin(), expected.rend()));
    buffer().Code = "K15";
    ASSERT_EQ(people->set(CodeKey), DriverCode::Ok);
    ASSERT_EQ(people->next(), DriverCode::Ok);
    EXPECT_EQ(buffer().Code.str(), "K150");
    ASSERT_EQ(people->previous(), DriverCode::Ok);
    EXPECT_EQ(buffer().Code.str(), "K149");
}

TEST_P(EngineTables, AChangeBetweenReadAndWriteByAnotherIsRefused) {
    addAll(*people, {person("A", "Ana", 1)});
    auto other = std::make_unique<SqliteTable>(*db, peopleTable(), directory / "PEOPLE.TPS");
    PersonRecord otherBuffer{};
    other->setRecord(&otherBuffer);
    ASSERT_EQ(other->open(AccessMode::ReadWrite), DriverCode::Ok);
    buffer().Code = "A";
    ASSERT_EQ(people->get(CodeKey), DriverCode::Ok);
    otherBuffer.Code = "A";
    ASSERT_EQ(other->get(CodeKey), DriverCode::Ok);
    otherBuffer.Number = 5;
    ASSERT_EQ(other->put(), DriverCode::Ok) << other->lastError().text;
    buffer().Number = 7;
    EXPECT_EQ(people->put(), DriverCode::ChangedByOther);
    ASSERT_EQ(people->get(CodeKey), DriverCode::Ok);
    EXPECT_EQ(buffer().Number, 5);
    ASSERT_EQ(other->remove(), DriverCode::Ok);
    EXPECT_EQ(people->remove(), DriverCode::NoMoreRecords);
}

TEST_P(EngineTables, RollbackUndoesItsWritesAndSavepointsNest) {
    ASSERT_EQ(people->beginTransaction(), DriverCode::Ok);
    addAll(*people, {person("B", "Bor")});
    ASSERT_EQ(people->beginTransaction(), DriverCode::Ok);
    addAll(*people, {person("C", "Cene")});
    ASSERT_EQ(people->rollback(), DriverCode::Ok);
    ASSERT_EQ(people->commit(), DriverCode::Ok) << people->lastError().text;
    ASSERT_EQ(people->beginTransaction(), DriverCode::Ok);
    addAll(*people, {person("D", "Dora")});
    ASSERT_EQ(people->rollback(), DriverCode::Ok);
    EXPECT_EQ(codesInOrder(*people, CodeKey), (std::vector<std::string>{"B"}));
}

// A directory's schema registered in a transaction that is rolled back is gone with it; the
// table is made again, in a schema that exists, when it is opened next.
TEST_P(EngineTables, ATableFirstMadeInATransactionRolledBackIsMadeAgainAfterwards) {
    if (GetParam() != Engine::Postgres)
        GTEST_SKIP() << "the embedded database attaches outside transactions only";
    TempDirectory other;
    DriverError error;
    ASSERT_EQ(db->begin(error), DriverCode::Ok);
    {
        const auto first = openTable(*db, peopleTable(), other.path());
        ASSERT_TRUE(first->isOpen());
        addAll(*first, {person("A", "Ana")});
    }
    ASSERT_EQ(db->rollback(error), DriverCode::Ok);
    const auto again = openTable(*db, peopleTable(), other.path());
    ASSERT_TRUE(again->isOpen()) << again->lastError().text;
    addAll(*again, {person("B", "Bor")});
    EXPECT_EQ(codesInOrder(*again, CodeKey), (std::vector<std::string>{"B"}));
}

// The check at start finds the schemas whose keys over names were built under other rules,
// rebuilds them and says so once; the order of names holds afterwards.
TEST_P(EngineTables, TheServersCheckAtStartRebuildsKeysBuiltUnderOtherRules) {
    if (GetParam() != Engine::Postgres) GTEST_SKIP() << "the server's check at start";
    addAll(*people, {person("A", "Čarli"), person("B", "Cvet")});
    DriverError error;
    ASSERT_EQ(db->execute("UPDATE " + sqlName(people->sql()->schema()) +
                              ".\"_META\" SET \"VALUE\" = 'old rules' WHERE \"NAME\" = 'collation'",
                          "age", error),
              DriverCode::Ok)
        << error.text;
    PostgresDatabase next(PostgresCluster::shared()->connection());
    const std::string said = next.rebuildKeysUnderOtherCollation();
    EXPECT_NE(said.find("(različica old rules, zdaj "), std::string::npos) << said;
    EXPECT_EQ(next.rebuildKeysUnderOtherCollation(), "") << "the version is recorded again";
    EXPECT_EQ(names(), (std::vector<std::string>{"Cvet", "Čarli"}));
}

TEST_P(EngineTables, KeysBuiltUnderOtherCollationRulesAreRebuiltAtOpening) {
    addAll(*people, {person("A", "Čarli"), person("B", "Cvet")});
    const std::string meta = sqlName(people->sql()->schema()) + ".\"_META\"";
    DriverError error;
    ASSERT_EQ(db->execute("UPDATE " + meta + " SET \"VALUE\" = 'old rules'", "age", error),
              DriverCode::Ok)
        << error.text;
    people->close();
    ASSERT_EQ(people->open(AccessMode::ReadWrite), DriverCode::Ok) << people->lastError().text;
    SqlStatement* stored = db->statement("SELECT \"VALUE\" FROM " + meta, "read", error);
    ASSERT_NE(stored, nullptr) << error.text;
    {
        StatementUse use(*stored);
        ASSERT_EQ(stored->step(), StepResult::Row);
        EXPECT_EQ(std::string(stored->text(0)), db->collationVersion());
        EXPECT_NE(std::string(stored->text(0)), "old rules");
    }
    EXPECT_EQ(names(), (std::vector<std::string>{"Cvet", "Čarli"}));
}

TEST_P(EngineTables, CompanyTablesLieInTheSchemaOfTheParentDirectory) {
    const std::filesystem::path shop = directory / "shop";
    std::filesystem::create_directories(shop);
    SqliteTable company(*db, companyTable(), shop / ".." / "COMPANY.TPS");
    ASSERT_EQ(company.create(), DriverCode::Ok) << company.lastError().text;
    ASSERT_EQ(company.open(AccessMode::ReadWrite), DriverCode::Ok) << company.lastError().text;
    EXPECT_EQ(company.sql()->schema(), people->sql()->schema());
    auto local = openTable(*db, peopleTable(), shop);
    EXPECT_NE(local->sql()->schema(), people->sql()->schema());
}

INSTANTIATE_TEST_SUITE_P(BothEngines, EngineTables,
                         ::testing::Values(Engine::Sqlite, Engine::Postgres),
                         [](const ::testing::TestParamInfo<Engine>& info) {
                             return info.param == Engine::Sqlite ? "Sqlite" : "Postgres";
                         });

// ---- what only a server can do: fail to be reached, refuse, lose the connection

TEST(PostgresConnection, AServerThatCannotBeReachedOrRefusesSaysSoInSlovenian) {
    TempDirectory nowhere;
    PostgresDatabase unreachable("host=" + nowhere.path().string() + " connect_timeout=2");
    EXPECT_NE(unreachable.startError().find("ni mogoče doseči"), std::string::npos)
        << unreachable.startError();
    PostgresCluster* cluster = PostgresCluster::shared();
    ASSERT_NE(cluster, nullptr) << PostgresCluster::whyNot();
    PostgresDatabase missing(cluster->missingDatabase());
    EXPECT_NE(missing.startError().find("Zbirke podatkov na strežniku ni"), std::string::npos)
        << missing.startError();
    PostgresDatabase refused("host=" + cluster->folder().string() +
                             " user=nobody_of_ours dbname=dideroviv");
    EXPECT_NE(refused.startError().find("zavrnil prijavo"), std::string::npos)
        << refused.startError();
    // A table on a connection that was never made is refused with the reason.
    TempDirectory data;
    SqliteTable table(unreachable, peopleTable(), data / "PEOPLE.TPS");
    EXPECT_NE(table.create(), DriverCode::Ok);
    EXPECT_NE(table.lastError().text.find("ni mogoče doseči"), std::string::npos);
}

TEST(PostgresConnection, AConnectionLostInATransactionWritesNothingAndSaysSo) {
    auto server = serverConnection();
    ASSERT_NE(server, nullptr) << PostgresCluster::whyNot();
    TempDirectory data;
    auto people = openTable(*server, peopleTable(), data.path());
    addAll(*people, {person("A", "Ana")});
    ASSERT_EQ(people->beginTransaction(), DriverCode::Ok);
    addAll(*people, {person("B", "Bor")});
    // Another session ends this one's server process, as a restarted server would.
    PostgresDatabase killer(PostgresCluster::shared()->connection());
    DriverError error;
    ASSERT_EQ(killer.execute("SELECT pg_terminate_backend(" +
                                 std::to_string(PQbackendPID(server->handle())) + ")",
                             "end the session", error),
              DriverCode::Ok)
        << error.text;
    *static_cast<PersonRecord*>(people->record()) = person("C", "Cene");
    EXPECT_NE(people->add(), DriverCode::Ok);
    EXPECT_NE(people->lastError().text.find("Povezava s strežnikom zbirke podatkov je bila "
                                            "prekinjena"),
              std::string::npos)
        << people->lastError().text;
    EXPECT_NE(people->commit(), DriverCode::Ok);
    // The connection is made anew after the transaction ended; only A was kept, and the
    // statements prepared before are prepared again.
    EXPECT_EQ(codesInOrder(*people, CodeKey), (std::vector<std::string>{"A"}));
    EXPECT_EQ(people->records(), 1) << people->lastError().text;
    *static_cast<PersonRecord*>(people->record()) = person("D", "Dora");
    EXPECT_EQ(people->add(), DriverCode::Ok) << people->lastError().text;
}

}  // namespace
}  // namespace dv::test
