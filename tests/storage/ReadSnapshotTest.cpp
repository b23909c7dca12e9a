#include <memory>

#include "StorageTestSupport.h"
#include "TableAccessTestSupport.h"
#include "storage/BatchTransaction.h"
#include "storage/ReadSnapshot.h"
#include "support/TestEngine.h"

namespace dv::test {
namespace {

class ReadSnapshotTest : public TableAccessTest {
  protected:
    void SetUp() override {
        ASSERT_EQ(groups().Open(), kLevelBenign);
        addGroup(groups(), 1, "Prva");
        other = std::make_unique<RawDatabase>(databaseFile());
    }
    void TearDown() override { (void)groups().Close(); }

    FileManager& groups() { return file("SFGRUPE"); }
    std::string storedGroups() { return other->scalar("SELECT COUNT(*) FROM SFGRUPE"); }

    std::unique_ptr<RawDatabase> other;  // another program on the same database
};

// The reads of a snapshot see the tables as they were at its first read, also when another
// program writes meanwhile; once it ends, reads see the new rows.
TEST_F(ReadSnapshotTest, ItsReadsSeeOneStateOfTheTables) {
    DV_EMBEDDED_ONLY("another program is a raw SQLite connection");
    ReadSnapshot snapshot(access());
    EXPECT_TRUE(snapshot.began());
    EXPECT_EQ(countRecords(groups()), 1);
    ASSERT_EQ(other->exec("INSERT INTO SFGRUPE (SIFRA, NAZIV) VALUES (2, 'Druga')"), SQLITE_OK);
    EXPECT_EQ(countRecords(groups()), 1);
    snapshot.End();
    EXPECT_EQ(countRecords(groups()), 2);
}

// A write never waits in the snapshot for its end: the snapshot ends before it, and what is
// written is stored at once, or kept back only by a transaction begun for it.
TEST_F(ReadSnapshotTest, AWriteOrATransactionEndsItFirst) {
    DV_EMBEDDED_ONLY("another program is a raw SQLite connection");
    {
        ReadSnapshot snapshot(access());
        EXPECT_EQ(countRecords(groups()), 1);
        addGroup(groups(), 2, "Druga");
        EXPECT_EQ(storedGroups(), "2") << "the add is stored, not held by the snapshot";
        ASSERT_EQ(other->exec("INSERT INTO SFGRUPE (SIFRA, NAZIV) VALUES (3, 'Tretja')"),
                  SQLITE_OK);
        EXPECT_EQ(countRecords(groups()), 3) << "reads after the write see the tables as they are";
    }
    ReadSnapshot snapshot(access());
    EXPECT_EQ(countRecords(groups()), 3);
    {
        BatchTransaction batch(access());
        ASSERT_EQ(batch.Begin(), DriverCode::Ok);
        addGroup(groups(), 4, "Preklicana");
        EXPECT_EQ(storedGroups(), "3");
        batch.Rollback();
    }
    snapshot.End();
    EXPECT_EQ(countRecords(groups()), 3);
    addGroup(groups(), 5, "Peta");
    EXPECT_EQ(storedGroups(), "4");
}

// Within a transaction the reads are in it already: a snapshot does nothing, and ending it
// neither commits nor undoes the transaction's writes.
TEST_F(ReadSnapshotTest, WithinATransactionItDoesNothing) {
    DV_EMBEDDED_ONLY("another program is a raw SQLite connection");
    BatchTransaction batch(access());
    ASSERT_EQ(batch.Begin(), DriverCode::Ok);
    addGroup(groups(), 2, "V paketu");
    {
        ReadSnapshot snapshot(access());
        EXPECT_FALSE(snapshot.began());
        EXPECT_EQ(countRecords(groups()), 2);
    }
    EXPECT_TRUE(batch.intact());
    EXPECT_EQ(storedGroups(), "1");
    batch.Rollback();
    EXPECT_EQ(countRecords(groups()), 1);
}

}  // namespace
}  // namespace dv::test
