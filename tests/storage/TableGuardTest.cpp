#include "TableAccessTestSupport.h"
#include "storage/RelationKeeper.h"
#include "storage/TableGuard.h"

namespace dv::test {
namespace {

using TableGuardTest = TableAccessTest;

// A printout over a table a list holds open: the guard's open nests in the list's, and the
// record the list had in the buffer comes back however the printout ends.
TEST_F(TableGuardTest, GivesBackTheOpensAndTheRecordsItTook) {
    FileManager& units = file("SFENOTE");
    ASSERT_EQ(units.Open(), kLevelBenign);
    SFENOTE.Enota = 7;
    SFENOTE.Naziv = "Seznam";
    {
        TableGuard guard;
        ASSERT_EQ(guard.open(units), kLevelBenign);
        EXPECT_EQ(units.openCount(), 2);
        SFENOTE.Enota = 1;
        SFENOTE.Naziv = "Izpis";
    }
    EXPECT_EQ(units.openCount(), 1);
    EXPECT_EQ(SFENOTE.Enota, 7);
    EXPECT_EQ(SFENOTE.Naziv.str(), "Seznam");

    // Leave forgets the record: a batch that meant to change the buffer keeps the change.
    TableGuard batch;
    ASSERT_EQ(batch.open(units, TableGuard::Buffer::Leave), kLevelBenign);
    SFENOTE.Naziv = "Paket";
    batch.release();
    EXPECT_EQ(SFENOTE.Naziv.str(), "Paket");
    EXPECT_EQ(units.openCount(), 1);
    units.Close();
}

// A window keeps the buffers of tables others hold open: each once, with its first record, and
// the guard can be used again after a release (the next record of a form that stays open).
TEST_F(TableGuardTest, KeepsEachBufferOnceAndCanBeUsedAgain) {
    FileManager& units = file("SFENOTE");
    ASSERT_EQ(units.Open(), kLevelBenign);
    TableGuard guard;
    SFENOTE.Naziv = "Prvi";
    guard.keep(units);
    SFENOTE.Naziv = "Drugi";
    guard.keep(units);
    SFENOTE.Naziv = "Tretji";
    guard.release();
    EXPECT_EQ(SFENOTE.Naziv.str(), "Prvi");
    EXPECT_EQ(units.openCount(), 1) << "a kept table is not closed";

    guard.keep(units);
    SFENOTE.Naziv = "Spremenjen";
    guard.release(TableGuard::Buffer::Leave);
    EXPECT_EQ(SFENOTE.Naziv.str(), "Spremenjen");
    units.Close();
}

// A keeper's tables are the table and the related ones its rules need; all are closed at the
// end, the latest first.
TEST_F(TableGuardTest, OpensAndClosesAKeepersRelatedTables) {
    RelationKeeper* groups = access().relations("SFGRUPE");
    ASSERT_NE(groups, nullptr);
    ASSERT_FALSE(groups->links().empty());
    FileManager& related = groups->links().front().other->file();
    {
        TableGuard guard;
        EXPECT_EQ(guard.open(*groups), kLevelBenign);
        EXPECT_EQ(groups->file().openCount(), 1);
        EXPECT_EQ(related.openCount(), 1);
    }
    EXPECT_EQ(groups->file().openCount(), 0);
    EXPECT_EQ(related.openCount(), 0);
}

}  // namespace
}  // namespace dv::test
