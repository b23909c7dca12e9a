#include <chrono>

#include "PostingScriptFixture.h"
#include "stocktake/StocktakeLocks.h"
#include "support/OtherStation.h"

namespace dv::test {
namespace {

// Stocktake 11 of unit 3 (retail) with two counted rows, on a server that another station,
// BLAGAJNA2, works on too.
class StationLocks : public PostingScriptFixture {
  protected:
    StationLocks() {
        addStocktake(11, 3, "M", dayNumber(2024, 2, 1));
        addStock("A1", 3, "10", "50", "0");
        addRow(kStocktake, "A1", "10", "7");
        addStock("B2", 3, "4", "8", "3");
        addRow(kStocktake, "B2", "4", "6");
        GLO.DIDEROVIV = 11;
        GLO.ENOTAINV = 3;
        GLO.VRSTAINV = "M";
        GLO.DATUM = dayNumber(2024, 3, 10);
    }

    static inline const StocktakeKey kStocktake{11, 3, "M"};
};

// A posting started while another station imports into the stocktake waits until the import
// has ended, then posts what the template holds by then.
TEST_F(StationLocks, APostingWaitsWhileAnotherStationImportsThenPosts) {
    DV_SERVER_ONLY();
    OtherStation other("BLAGAJNA2");
    other.hold(stocktakeLock(kStocktake), true, StationWork::Import);
    const std::string documents = serverSchema(*tables, directory.path()) + ".dokument";
    std::string postedMeanwhile;
    other.releaseLater(std::chrono::milliseconds(400), [&] {
        postedMeanwhile = queryServer("SELECT count(*) FROM " + documents);
    });
    run(R"(start KnjizenjeInventurnihRazlik
message-contains "inventurnih viškov  1, inventurnih manjkov pa 1|"
answer OK
)");
    other.join();
    EXPECT_EQ(postedMeanwhile, "0") << "nothing was posted while the other station imported";
    EXPECT_EQ(sql("SELECT EAN, ZALOGA FROM ZALOGA ORDER BY EAN"), "A1|7000\nB2|6000");
    EXPECT_EQ(sql("SELECT DATUMZAKLJUCKA FROM INVENTUR WHERE STEVINVENTURE = 11"), "81527");
}

// While another station posts, neither a second posting nor a template preparation of the same
// stocktake starts: each says which station holds it and what it does, and changes nothing.
TEST_F(StationLocks, ABatchWhileAnotherStationPostsIsRefusedWithTheStationsName) {
    DV_SERVER_ONLY();
    OtherStation other("BLAGAJNA2");
    other.hold(stocktakeLock(kStocktake), false, StationWork::Posting);
    const std::string before = dumpTables();
    const std::string refusal =
        R"(message " OPOZORILO" " Postaja BLAGAJNA2 ta trenutek knjiži inventurne razlike za inventuro št. 11.|| Na isti inventuri lahko hkrati teče le en tak postopek; poskusite znova, ko bo končan.")";
    run("start KnjizenjeInventurnihRazlik\n" + refusal + R"(
answer OK
message-contains "ni bilo izvedeno"
answer OK
)");
    // The template of the stocktake in the register's buffer, prepared again.
    INVENTUR.StevInventure = 11;
    INVENTUR.Enota = 3;
    INVENTUR.VRSTAPRODAJE = "M";
    GLO.RepreparationMode = 1;
    run("start PripravaPredloge\nmessage-contains \"Postaje, ki vnašajo popis ali uvažajo zajem, lahko "
        "ostanejo odprte.\"\nanswer Yes\n" + refusal + "\nanswer OK\n");
    EXPECT_EQ(dumpTables(), before);
}

// Document numbers are taken by one station's transaction at a time: while another station's
// transaction numbers documents, this one's attempt names that station; after its commit the
// numbering is free.
TEST_F(StationLocks, DocumentsAreNumberedByOneStationsTransactionAtATime) {
    DV_SERVER_ONLY();
    OtherStation other("BLAGAJNA2");
    StationLock posting;
    ASSERT_EQ(posting.tryTake(other.db(), stocktakeLock({12, 3, "M"}), false,
                              StationWork::Posting),
              LockOutcome::Taken);
    DriverError error;
    std::vector<LockHolder> holders;
    ASSERT_EQ(other.db().begin(error), DriverCode::Ok);
    ASSERT_EQ(tryNumberingUntilCommit(other.db(), "DOKUMENT", StationWork::Posting, holders, error),
              LockOutcome::Taken);
    SqlConnection& own = tables->database();
    ASSERT_EQ(own.begin(error), DriverCode::Ok);
    EXPECT_EQ(tryNumberingUntilCommit(own, "DOKUMENT", StationWork::Posting, holders, error),
              LockOutcome::Busy);
    ASSERT_EQ(holders.size(), 1U);
    EXPECT_EQ(holders[0].station, "BLAGAJNA2");
    EXPECT_EQ(holders[0].work, StationWork::Posting);
    // Another table's numbering is not held up.
    EXPECT_EQ(tryNumberingUntilCommit(own, "SFPARTN", StationWork::Posting, holders, error),
              LockOutcome::Taken);
    ASSERT_EQ(other.db().commit(error), DriverCode::Ok);
    EXPECT_EQ(tryNumberingUntilCommit(own, "DOKUMENT", StationWork::Posting, holders, error),
              LockOutcome::Taken);
    ASSERT_EQ(own.commit(error), DriverCode::Ok);
}

}  // namespace
}  // namespace dv::test
