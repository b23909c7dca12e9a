#include <functional>
#include <future>
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
    struct Attempt {
        DriverCode added = DriverCode::Ok;
        DriverCode begun = DriverCode::Ok;
        std::string why;
    };
    // Another thread opens the table (no table is opened while a transaction runs), waits for
    // `ready` and then adds a group and begins a transaction of its own.
    auto otherThreadAdds = [&](int code, const std::function<void()>& ready) {
        Attempt attempt;
        std::promise<void> opened;
        std::promise<void> go;
        std::thread other([&] {
            const bool usable = groups.Open() == kLevelBenign && groups.UseFile() == kLevelBenign;
            opened.set_value();
            go.get_future().wait();
            if (!usable) return;
            clearRecord(groups.table(), &SFGRUPE);
            SFGRUPE.Sifra = static_cast<std::uint16_t>(code);
            attempt.added = groups.driver()->add();
            attempt.why = groups.driver()->lastError().text;
            attempt.begun = access().beginTransaction();
            if (attempt.begun == DriverCode::Ok) (void)access().commit();
            (void)groups.Close();
        });
        opened.get_future().wait();
        ready();
        go.set_value();
        other.join();
        return attempt;
    };

    BatchTransaction batch(access());
    const Attempt during = otherThreadAdds(5, [&] { ASSERT_EQ(batch.Begin(), DriverCode::Ok); });
    EXPECT_EQ(during.added, DriverCode::DriverError);
    EXPECT_EQ(during.begun, DriverCode::DriverError);
    EXPECT_NE(during.why.find("another window"), std::string::npos) << during.why;
    addGroup(groups, 6, "Paket");
    batch.Rollback();

    const Attempt after = otherThreadAdds(7, [] {});
    EXPECT_EQ(after.added, DriverCode::Ok) << after.why;
    EXPECT_EQ(after.begun, DriverCode::Ok);
    EXPECT_EQ(countRecords(groups), 1) << "only the other thread's group, written after the batch";
    (void)groups.Close();
}

}  // namespace
}  // namespace dv::test
