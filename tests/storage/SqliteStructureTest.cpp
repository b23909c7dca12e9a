#include <gtest/gtest.h>

#include <fstream>

#include "StorageTestSupport.h"

namespace dv::test {
namespace {

namespace fs = std::filesystem;

TEST(SqliteDirectories, CompanyTablesLiveInTheParentDirectorysDatabase) {
    TempDirectory root;
    const fs::path firm = root / "firm";
    fs::create_directory(firm);
    SqliteDatabase db;
    auto people = openTable(db, peopleTable(), firm);
    // The company table's file is "..\COMPANY.TPS" seen from the data directory.
    PersonRecord companyBuffer{};
    SqliteTable company(db, companyTable(), firm / ".." / "COMPANY.TPS");
    company.setRecord(&companyBuffer);
    ASSERT_EQ(company.create(), DriverCode::Ok) << company.lastError().text;
    ASSERT_EQ(company.open(AccessMode::ReadWrite), DriverCode::Ok) << company.lastError().text;

    // One transaction covers both databases.
    ASSERT_EQ(people->beginTransaction(), DriverCode::Ok);
    addAll(*people, {person("P")});
    addAll(company, {person("C")});
    ASSERT_EQ(company.rollback(), DriverCode::Ok);
    EXPECT_EQ(people->records(), 0);
    EXPECT_EQ(company.records(), 0);
    addAll(*people, {person("P")});
    addAll(company, {person("C")});

    RawDatabase parent(root / "dideroviv.db");
    RawDatabase data(firm / "dideroviv.db");
    EXPECT_EQ(parent.scalar("SELECT CODE FROM COMPANY"), "C");
    EXPECT_EQ(parent.scalar("SELECT count(*) FROM sqlite_master WHERE name='PEOPLE'"), "0");
    EXPECT_EQ(data.scalar("SELECT CODE FROM PEOPLE"), "P");
    EXPECT_EQ(data.scalar("SELECT count(*) FROM sqlite_master WHERE name='COMPANY'"), "0");
}

class SqliteStructure : public ::testing::Test {
  protected:
    TempDirectory directory;

    void makeVersionOne(const std::vector<PersonRecord>& people) {
        SqliteDatabase db;
        auto table = openTable(db, peopleTable(), directory.path());
        addAll(*table, people);
    }
};

TEST_F(SqliteStructure, OlderTableWithFewerColumnsIsConvertedOnOpen) {
    makeVersionOne({person("A", "Ana", 7), person("B", "Bor", 3)});
    SqliteDatabase db;
    PersonRecordV2 buffer{};
    SqliteTable table(db, peopleTableV2(), directory / "PEOPLE.TPS");
    table.setRecord(&buffer);
    ASSERT_EQ(table.open(AccessMode::ReadWrite), DriverCode::Ok) << table.lastError().text;
    buffer.Code = "A";
    ASSERT_EQ(table.get(CodeKey), DriverCode::Ok);
    EXPECT_EQ(buffer.Name.str(), "Ana");
    EXPECT_EQ(buffer.Number, 7);
    EXPECT_TRUE(buffer.Note.blank());
    buffer.Note = "novo";
    ASSERT_EQ(table.put(), DriverCode::Ok);
    // The key added by the new version orders the converted records too.
    ASSERT_EQ(table.setToStart(3), DriverCode::Ok);
    ASSERT_EQ(table.next(), DriverCode::Ok);
    EXPECT_EQ(buffer.Code.str(), "B");
    RawDatabase raw(directory / "dideroviv.db");
    EXPECT_EQ(raw.scalar("SELECT VERSION FROM _TABLES WHERE NAME='PEOPLE'"), "2");
    EXPECT_EQ(raw.scalar("SELECT NOTE FROM PEOPLE WHERE CODE='A'"), "novo");
}

TEST_F(SqliteStructure, IncompatibleOrNewerStructureIsRefusedAndLeftAlone) {
    makeVersionOne({person("A", "Ana", 7)});
    {
        SqliteDatabase db;
        SqliteTable table(db, peopleTableIncompatible(), directory / "PEOPLE.TPS");
        EXPECT_EQ(table.open(AccessMode::ReadWrite), DriverCode::DriverError);
        EXPECT_NE(table.lastError().text.find("AMOUNT"), std::string::npos)
            << table.lastError().text;
        EXPECT_EQ(table.open(AccessMode::ReadOnly), DriverCode::DriverError);
    }
    {
        // Converted to version 2 ...
        SqliteDatabase db;
        PersonRecordV2 buffer{};
        SqliteTable table(db, peopleTableV2(), directory / "PEOPLE.TPS");
        table.setRecord(&buffer);
        ASSERT_EQ(table.open(AccessMode::ReadWrite), DriverCode::Ok);
    }
    // ... it is refused by the older program.
    SqliteDatabase db;
    SqliteTable table(db, peopleTable(), directory / "PEOPLE.TPS");
    EXPECT_EQ(table.open(AccessMode::ReadWrite), DriverCode::DriverError);
    EXPECT_NE(table.lastError().text.find("newer"), std::string::npos) << table.lastError().text;
    RawDatabase raw(directory / "dideroviv.db");
    EXPECT_EQ(raw.scalar("SELECT AMOUNT || NAME FROM PEOPLE"), "0Ana");
}

// A bulk load drops the keys and builds them from all records at the end; a duplicate unique
// key added meanwhile fails the build, and the rollback of the load brings the keys back.
TEST_F(SqliteStructure, KeysSwitchedOffForABulkLoadAreBuiltFromAllRecords) {
    SqliteDatabase db;
    auto table = openTable(db, peopleTable(), directory.path());
    const auto indexes = [&] {
        RawDatabase raw(directory / "dideroviv.db");
        return raw.scalar("SELECT count(*) FROM sqlite_master WHERE type='index' AND "
                          "tbl_name='PEOPLE' AND sql IS NOT NULL");
    };
    const std::string all = indexes();
    ASSERT_NE(all, "0");
    ASSERT_EQ(table->send("KEYS=off"), "off") << table->lastError().text;
    EXPECT_EQ(indexes(), "0");
    addAll(*table, {person("A", "Bor", 2), person("B", "Ana", 1)});
    ASSERT_EQ(table->send("KEYS=on"), "on") << table->lastError().text;
    EXPECT_EQ(indexes(), all);
    EXPECT_EQ(codesInOrder(*table, NameKey), (std::vector<std::string>{"B", "A"}));

    ASSERT_EQ(table->beginTransaction(), DriverCode::Ok);
    ASSERT_EQ(table->send("KEYS=off"), "off");
    addAll(*table, {person("A", "Cene", 3)});
    EXPECT_EQ(table->send("KEYS=on"), "error");
    EXPECT_NE(table->lastError().text.find("cannot be built"), std::string::npos)
        << table->lastError().text;
    ASSERT_EQ(table->rollback(), DriverCode::Ok);
    EXPECT_EQ(indexes(), all);
    EXPECT_EQ(codesInOrder(*table, CodeKey), (std::vector<std::string>{"A", "B"}));
}

TEST_F(SqliteStructure, MissingKeyIsReportedAndRebuilt) {
    makeVersionOne({person("A", "Bor"), person("B", "Ana")});
    {
        RawDatabase raw(directory / "dideroviv.db");
        ASSERT_EQ(raw.exec("DROP INDEX \"PEOPLE:NAMEKEY\""), SQLITE_OK);
    }
    SqliteDatabase db;
    auto table = std::make_unique<SqliteTable>(db, peopleTable(), directory / "PEOPLE.TPS");
    EXPECT_EQ(table->open(AccessMode::ReadWrite), DriverCode::KeyInvalid);
    EXPECT_NE(table->lastError().text.find("PEOPLE:NAMEKEY"), std::string::npos);
    ASSERT_EQ(table->rebuildKeys(), DriverCode::Ok) << table->lastError().text;
    ASSERT_EQ(table->open(AccessMode::ReadWrite), DriverCode::Ok);
    EXPECT_EQ(codesInOrder(*table, NameKey), (std::vector<std::string>{"B", "A"}));
}

TEST_F(SqliteStructure, DamagedKeyIsReportedAndRebuilt) {
    makeVersionOne({});
    {
        // Another program wrote entries under other ordering rules: the name index is out of order.
        RawDatabase raw(directory / "dideroviv.db");
        sqlite3_create_collation(
            raw.handle(), "SL_NOCASE", SQLITE_UTF8, nullptr,
            [](void*, int n1, const void* s1, int n2, const void* s2) {
                const int c = std::string_view(static_cast<const char*>(s2), n2)
                                  .compare(std::string_view(static_cast<const char*>(s1), n1));
                return c < 0 ? -1 : c > 0 ? 1 : 0;
            });
        for (const char* name : {"Ana", "Bor", "Cene", "Dan", "Eva", "Fran", "Gal"})
            ASSERT_EQ(raw.exec(std::string("INSERT INTO PEOPLE (CODE, NAME) VALUES ('") + name +
                               "', '" + name + "')"),
                      SQLITE_OK);
    }
    SqliteDatabase db;
    auto table = openTable(db, peopleTable(), directory.path());
    PersonRecord& buffer = *static_cast<PersonRecord*>(table->record());
    buffer = person("Cene");
    ASSERT_EQ(table->get(CodeKey), DriverCode::Ok);
    EXPECT_EQ(table->remove(), DriverCode::KeyInvalid) << table->lastError().text;
    ASSERT_EQ(table->rebuildKeys(), DriverCode::Ok) << table->lastError().text;
    ASSERT_EQ(table->get(CodeKey), DriverCode::Ok);
    EXPECT_EQ(table->remove(), DriverCode::Ok) << table->lastError().text;
    EXPECT_EQ(codesInOrder(*table, NameKey),
              (std::vector<std::string>{"Ana", "Bor", "Dan", "Eva", "Fran", "Gal"}));
}

TEST_F(SqliteStructure, GarbageInsteadOfTheDatabaseGivesAClearErrorAndChangesNothing) {
    std::string garbage(100000, '\0');
    for (std::size_t i = 0; i < garbage.size(); ++i)
        garbage[i] = static_cast<char>((i * 7919) % 251);
    std::ofstream(directory / "dideroviv.db", std::ios::binary) << garbage;
    SqliteDatabase db;
    SqliteTable table(db, peopleTable(), directory / "PEOPLE.TPS");
    EXPECT_EQ(table.open(AccessMode::ReadWrite), DriverCode::DriverError);
    EXPECT_NE(table.lastError().text.find("damaged"), std::string::npos) << table.lastError().text;
    EXPECT_EQ(table.create(), DriverCode::DriverError);
    std::ifstream in(directory / "dideroviv.db", std::ios::binary);
    const std::string after((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(after, garbage);
}

}  // namespace
}  // namespace dv::test
