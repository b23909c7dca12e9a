#include <thread>

#include "TableAccessTestSupport.h"
#include "data/RecordBuffers.h"
#include "storage/BatchTransaction.h"

namespace dv::test {
namespace {

using BatchTransactionTest = TableAccessTest;

// A batch's writes are kept only when it commits: a rollback, and the batch going away without
// a commit (an exception, the procedure ended), leave the tables as they were.
TEST_F(BatchTransactionTest, KeepsItsWritesOnlyWhenItCommits) {
    FileManager& groups = file("SFGRUPE");
    ASSERT_EQ(groups.Open(), kLevelBenign);
    addGroup(groups, 1, "Pred paketom");
    {
        BatchTransaction batch(access());
        ASSERT_EQ(batch.Begin(), DriverCode::Ok);
        EXPECT_TRUE(batch.active());
        EXPECT_TRUE(batch.intact());
        addGroup(groups, 2, "Preklicano");
        EXPECT_EQ(countRecords(groups), 2) << "the batch sees its own writes";
        batch.Rollback();
        EXPECT_FALSE(batch.active());
    }
    EXPECT_EQ(countRecords(groups), 1);
    {
        BatchTransaction batch(access());
        ASSERT_EQ(batch.Begin(), DriverCode::Ok);
        addGroup(groups, 3, "Opuščeno");
    }
    EXPECT_EQ(countRecords(groups), 1) << "a batch that goes without a commit keeps nothing";
    {
        BatchTransaction batch(access());
        ASSERT_EQ(batch.Begin(), DriverCode::Ok);
        addGroup(groups, 4, "Potrjeno");
        EXPECT_EQ(batch.Commit(), DriverCode::Ok);
        EXPECT_FALSE(batch.intact());
    }
    EXPECT_EQ(countRecords(groups), 2);
    (void)groups.Close();
}

// Between the slices of a batch other procedure threads run. Whatever they would write would
// be undone with the batch, or kept by it: they are refused, with the reason, until it ends.
TEST_F(BatchTransactionTest, OtherThreadsCannotWriteWhileABatchRuns) {
    FileManager& groups = file("SFGRUPE");
    ASSERT_EQ(groups.Open(), kLevelBenign);
    auto otherThreadAdds = [&](int code) {
        DriverCode added = DriverCode::Ok;
        DriverCode begun = DriverCode::Ok;
        std::string why;
        std::thread other([&] {
            if (groups.Open() != kLevelBenign || groups.UseFile() != kLevelBenign) return;
            clearRecord(groups.table(), &SFGRUPE);
            SFGRUPE.Sifra = static_cast<std::uint16_t>(code);
            added = groups.driver()->add();
            why = groups.driver()->lastError().text;
            begun = access().beginTransaction();
            if (begun == DriverCode::Ok) (void)access().commit();
            (void)groups.Close();
        });
        other.join();
        return std::make_tuple(added, begun, why);
    };

    BatchTransaction batch(access());
    ASSERT_EQ(batch.Begin(), DriverCode::Ok);
    const auto [added, begun, why] = otherThreadAdds(5);
    EXPECT_EQ(added, DriverCode::DriverError);
    EXPECT_EQ(begun, DriverCode::DriverError);
    EXPECT_NE(why.find("another window"), std::string::npos) << why;
    addGroup(groups, 6, "Paket");
    batch.Rollback();

    const auto [addedAfter, begunAfter, whyAfter] = otherThreadAdds(7);
    EXPECT_EQ(addedAfter, DriverCode::Ok) << whyAfter;
    EXPECT_EQ(begunAfter, DriverCode::Ok);
    EXPECT_EQ(countRecords(groups), 1) << "only the other thread's group, written after the batch";
    (void)groups.Close();
}

}  // namespace
}  // namespace dv::test
