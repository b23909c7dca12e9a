#include <gtest/gtest.h>

#include "StorageTestSupport.h"

namespace dv::test {
namespace {

class SqliteTableWrite : public ::testing::Test {
  protected:
    TempDirectory directory;
    SqliteDatabase db;
    std::unique_ptr<SqliteTable> people = openTable(db, peopleTable(), directory.path());
    PersonRecord& buffer = *static_cast<PersonRecord*>(people->record());
};

TEST_F(SqliteTableWrite, UniqueKeyRefusesASecondRecordWithTheSameValues) {
    addAll(*people, {person("A", "Ana"), person("B", "Bor")});
    buffer = person("A", "Other");
    EXPECT_TRUE(people->isDuplicate(CodeKey, false));
    EXPECT_FALSE(people->isDuplicate(NameKey, false));
    EXPECT_EQ(people->add(), DriverCode::DuplicateKey);
    EXPECT_NE(people->lastError().text.find("same key"), std::string::npos);
    EXPECT_EQ(people->records(), 2);
    // Changing B's code to A is refused as well; B is no duplicate of itself when changed, but
    // a copy of it would be one when added.
    buffer = person("B");
    ASSERT_EQ(people->get(CodeKey), DriverCode::Ok);
    EXPECT_FALSE(people->isDuplicate(CodeKey, true));
    EXPECT_TRUE(people->isDuplicate(CodeKey, false));
    buffer.Code = "A";
    EXPECT_TRUE(people->isDuplicate(CodeKey, true));
    EXPECT_EQ(people->put(), DriverCode::DuplicateKey);
    buffer = person("B");
    ASSERT_EQ(people->get(CodeKey), DriverCode::Ok);
    EXPECT_EQ(buffer.Name.str(), "Bor");
}

// A lookup by key answers from the key alone: the buffer keeps what was put in it and the
// record read before stays the current one, so that a change after the lookup changes it.
TEST_F(SqliteTableWrite, KeyLookupLeavesTheBufferAndTheCurrentRecord) {
    addAll(*people, {person("A", "Ana"), person("B", "Bor")});
    buffer = person("B");
    ASSERT_EQ(people->get(CodeKey), DriverCode::Ok);
    buffer.Code = "A";
    EXPECT_TRUE(people->contains(CodeKey));
    EXPECT_EQ(buffer.Name.str(), "Bor");
    buffer.Code = "C";
    EXPECT_FALSE(people->contains(CodeKey));
    buffer.Name = "Borut";
    ASSERT_EQ(people->put(), DriverCode::Ok);
    buffer = person("C");
    ASSERT_EQ(people->get(CodeKey), DriverCode::Ok);
    EXPECT_EQ(buffer.Name.str(), "Borut");
    EXPECT_EQ(people->records(), 2);
}

TEST_F(SqliteTableWrite, ChangeAfterAnotherStationChangedTheRecordIsRefused) {
    addAll(*people, {person("A", "Ana", 1)});
    SqliteDatabase otherStation;
    PersonRecord otherBuffer{};
    auto other = openTable(otherStation, peopleTable(), directory.path(), &otherBuffer);

    buffer = person("A");
    ASSERT_EQ(people->get(CodeKey), DriverCode::Ok);
    otherBuffer = person("A");
    ASSERT_EQ(other->get(CodeKey), DriverCode::Ok);
    otherBuffer.Number = 2;
    ASSERT_EQ(other->put(), DriverCode::Ok);

    buffer.Number = 3;
    const DriverPosition position = people->position();
    EXPECT_EQ(people->put(), DriverCode::ChangedByOther);
    EXPECT_EQ(people->remove(), DriverCode::ChangedByOther);
    ASSERT_EQ(people->reget(position), DriverCode::Ok);
    EXPECT_EQ(buffer.Number, 2);
    buffer.Number = 3;
    EXPECT_EQ(people->put(), DriverCode::Ok);
    // The other station's copy is stale now, and a second change of ours still works.
    otherBuffer.Number = 4;
    EXPECT_EQ(other->put(), DriverCode::ChangedByOther);
    buffer.Number = 5;
    EXPECT_EQ(people->put(), DriverCode::Ok);
    ASSERT_EQ(other->remove(), DriverCode::ChangedByOther);
    ASSERT_EQ(other->reget(position), DriverCode::Ok);
    ASSERT_EQ(other->remove(), DriverCode::Ok);
    EXPECT_EQ(people->put(), DriverCode::NoMoreRecords);
    EXPECT_NE(people->lastError().text.find("deleted"), std::string::npos);
}

TEST_F(SqliteTableWrite, ReadOnlyTableRefusesWrites) {
    addAll(*people, {person("A")});
    people->close();
    ASSERT_EQ(people->open(AccessMode::ReadOnly), DriverCode::Ok);
    EXPECT_TRUE(people->isReadOnly());
    buffer = person("B");
    EXPECT_EQ(people->add(), DriverCode::AccessDenied);
    ASSERT_EQ(people->setToStart(CodeKey), DriverCode::Ok);
    ASSERT_EQ(people->next(), DriverCode::Ok);
    EXPECT_EQ(people->put(), DriverCode::AccessDenied);
    EXPECT_EQ(people->remove(), DriverCode::AccessDenied);
    EXPECT_EQ(people->records(), 1);
}

TEST_F(SqliteTableWrite, NestedTransactionsUndoOnlyTheirOwnPart) {
    ASSERT_EQ(people->beginTransaction(), DriverCode::Ok);
    addAll(*people, {person("A")});
    ASSERT_EQ(people->beginTransaction(), DriverCode::Ok);
    addAll(*people, {person("B")});
    // A pass started inside the inner part must not keep the undone record.
    ASSERT_EQ(people->setToStart(CodeKey), DriverCode::Ok);
    ASSERT_EQ(people->next(), DriverCode::Ok);
    ASSERT_EQ(people->rollback(), DriverCode::Ok);
    EXPECT_EQ(people->next(), DriverCode::NoMoreRecords);
    addAll(*people, {person("C")});
    ASSERT_EQ(people->commit(), DriverCode::Ok);
    EXPECT_EQ(codesInOrder(*people, CodeKey), (std::vector<std::string>{"A", "C"}));

    ASSERT_EQ(people->beginTransaction(), DriverCode::Ok);
    addAll(*people, {person("D")});
    ASSERT_EQ(people->rollback(), DriverCode::Ok);
    EXPECT_EQ(codesInOrder(*people, CodeKey), (std::vector<std::string>{"A", "C"}));
    EXPECT_EQ(people->commit(), DriverCode::DriverError);
    EXPECT_EQ(people->rollback(), DriverCode::DriverError);
}

TEST_F(SqliteTableWrite, StreamedBatchIsWrittenAtFlush) {
    ASSERT_EQ(people->stream(), DriverCode::Ok);
    addAll(*people, {person("A"), person("B")});
    SqliteDatabase otherStation;
    PersonRecord otherBuffer{};
    auto other = openTable(otherStation, peopleTable(), directory.path(), &otherBuffer);
    EXPECT_EQ(other->records(), 0);
    ASSERT_EQ(people->flush(), DriverCode::Ok);
    EXPECT_EQ(other->records(), 2);
}

TEST_F(SqliteTableWrite, FullDiskUndoesTheWholeTransactionAndSaysSo) {
    addAll(*people, {person("KEEP", "before")});
    RawDatabase raw(directory / "dideroviv.db");
    const int pages = std::stoi(raw.scalar("PRAGMA page_count"));
    ASSERT_EQ(
        sqlite3_exec(db.handle(), ("PRAGMA d1.max_page_count=" + std::to_string(pages + 2)).c_str(),
                     nullptr, nullptr, nullptr),
        SQLITE_OK);
    ASSERT_EQ(people->beginTransaction(), DriverCode::Ok);
    DriverCode code = DriverCode::Ok;
    for (int i = 0; i < 5000 && code == DriverCode::Ok; ++i) {
        buffer = person("N" + std::to_string(i), std::string(20, 'x'));
        code = people->add();
    }
    ASSERT_EQ(code, DriverCode::DriverError);
    EXPECT_NE(people->lastError().text.find("disk is full"), std::string::npos)
        << people->lastError().text;
    buffer = person("LATE");
    const DriverCode late = people->add();
    if (late == DriverCode::Ok) {
        // SQLite undid only the statement: the caller undoes the rest.
        ASSERT_EQ(people->rollback(), DriverCode::Ok);
    } else {
        // SQLite undid the whole transaction: nothing more is written, the end reports it.
        EXPECT_EQ(late, DriverCode::DriverError);
        EXPECT_EQ(people->commit(), DriverCode::DriverError);
        EXPECT_NE(people->lastError().text.find("undone"), std::string::npos);
    }
    EXPECT_EQ(codesInOrder(*people, CodeKey), (std::vector<std::string>{"KEEP"}));
    // Outside a transaction a full disk is reported the same way and leaves the table as it was.
    code = DriverCode::Ok;
    for (int i = 0; i < 5000 && code == DriverCode::Ok; ++i) {
        buffer = person("M" + std::to_string(i), std::string(20, 'y'));
        code = people->add();
    }
    EXPECT_EQ(code, DriverCode::DriverError);
    EXPECT_NE(people->lastError().text.find("disk is full"), std::string::npos);
}

TEST_F(SqliteTableWrite, OperationsOnAClosedTableFailWithAText) {
    people->close();
    EXPECT_EQ(people->next(), DriverCode::DriverError);
    EXPECT_NE(people->lastError().text.find("not open"), std::string::npos);
    EXPECT_EQ(people->add(), DriverCode::DriverError);
    EXPECT_EQ(people->records(), -1);
}

}  // namespace
}  // namespace dv::test
