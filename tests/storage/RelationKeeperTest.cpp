#include <unistd.h>

#include <thread>

#include "TableAccessTestSupport.h"
#include "data/RecordBuffers.h"
#include "runtime/MessageTable.h"
#include "support/TestEngine.h"

namespace dv::test {
namespace {

using Ids = std::vector<std::uint16_t>;

class RelationKeeperTest : public TableAccessTest {
  protected:
    // The document tables exist before each test (a table missing when a transaction is
    // framed would have to be created then).
    void SetUp() override { openDocumentTables(); }

    void openDocumentTables() {
        keeper("DOKUMENT").OpenAll();
        for (const char* table : {"DOKUMENT", "DOKPROME", "SNSTEV"})
            ASSERT_EQ(file(table).UseFile(), kLevelBenign);
    }

    FileManager& documents() { return file("DOKUMENT"); }
    FileManager& lines() { return file("DOKPROME"); }

    // Documents 1 (lines 1, 2) and 2 (line 1) of the default key.
    void addTwoDocuments() {
        ASSERT_EQ(addDocument(documents()), 1);
        ASSERT_EQ(addDocument(documents()), 2);
        ASSERT_EQ(addLine(lines(), key, 1), 1);
        ASSERT_EQ(addLine(lines(), key, 1), 2);
        ASSERT_EQ(addLine(lines(), key, 2), 1);
    }

    void fetchDocument(int number) {
        clearRecord(documents().table(), &DOK);
        DOK.VRSTAPRODAJE = key.kind;
        DOK.ENOTA = static_cast<std::uint16_t>(key.unit);
        DOK.OZNAKADOKUMENTA = key.mark;
        DOK.VRSTAPROMETA = static_cast<std::uint16_t>(key.type);
        DOK.STEVILKADOKUMENTA = number;
        ASSERT_EQ(documents().Fetch(documents().primaryKey()), kLevelBenign);
    }

    bool documentExists(int number) {
        const SnapshotHandle kept = documents().SnapshotBuffer();
        DOK.STEVILKADOKUMENTA = number;
        const bool found = documents().Fetch(documents().primaryKey()) == kLevelBenign;
        documents().RestoreSnapshot(kept);
        return found;
    }

    // Group 1 with subgroups 1 and 2; an item in subgroup 2.
    void addGroupWithItem() {
        keeper("SFGRUPE").OpenAll();
        addGroup(file("SFGRUPE"), 1, "Hrana");
        FileManager& subgroups = file("SFPODGRU");
        for (int code = 1; code <= 2; ++code) {
            clearRecord(subgroups.table(), &SFPODGRU);
            SFPODGRU.Sifra = 1;
            SFPODGRU.PodSifra = static_cast<std::uint16_t>(code);
            SFPODGRU.Naziv = "Pod" + std::to_string(code);
            subgroups.UseFile();
            ASSERT_EQ(subgroups.driver()->add(), DriverCode::Ok);
        }
        addItem(file("ARTIKLI"), "3830001", 1, 2);
    }

    void fetchGroup(int code) {
        clearRecord(file("SFGRUPE").table(), &SFGRUPE);
        SFGRUPE.Sifra = static_cast<std::uint16_t>(code);
        ASSERT_EQ(file("SFGRUPE").Fetch(file("SFGRUPE").primaryKey()), kLevelBenign);
    }

    const DocumentKey key{};
};

TEST_F(RelationKeeperTest, CascadeDeleteTakesTheLinesOfThatDocumentOnly) {
    addTwoDocuments();
    fetchDocument(1);
    DOKPROME.POSTAVKADOKUMENTA = 2;  // the line buffer holds some later line
    raiser.answer(false);
    EXPECT_EQ(keeper("DOKUMENT").DeleteWithRules(), kLevelNotify);
    EXPECT_TRUE(documentExists(1)) << "not confirmed";
    raiser.answer(true);
    EXPECT_EQ(keeper("DOKUMENT").DeleteWithRules(), kLevelBenign);
    EXPECT_EQ(raiser.ids(), (Ids{message::ConfirmDelete, message::ConfirmDelete}));
    EXPECT_EQ(DOKPROME.POSTAVKADOKUMENTA, 2) << "the related table's buffer is put back";
    EXPECT_FALSE(documentExists(1));
    EXPECT_TRUE(documentExists(2));
    EXPECT_TRUE(lineNumbers(lines(), key, 1).empty());
    EXPECT_EQ(lineNumbers(lines(), key, 2), std::vector<int>{1});
}

TEST_F(RelationKeeperTest, RestrictRefusesToDeleteAReferencedParent) {
    addGroupWithItem();
    FileManager& items = file("ARTIKLI");
    items.Open();
    clearRecord(items.table(), &ARTIKLI);
    addItem(items, "3830002", 2);  // another group's item restricts nothing here
    fetchGroup(1);
    raiser.answer(false);  // "Record Delete Error": do not try again
    EXPECT_EQ(keeper("SFGRUPE").DeleteWithRules(false), kLevelNotify);
    ASSERT_EQ(raiser.ids(),
              (Ids{message::ReferentialIntegrityDeleteError, message::RecordDeleteError}));
    EXPECT_EQ(raiser.raised()[0].file, items.fileName()) << "names the referencing table";
    EXPECT_EQ(countRecords(file("SFGRUPE")), 1);
    EXPECT_EQ(countRecords(file("SFPODGRU")), 2)
        << "subgroup 1, deleted by the cascade before subgroup 2 met its item, is back";
}

TEST_F(RelationKeeperTest, ParentWithoutReferencesIsDeletedWithItsDetails) {
    addGroupWithItem();
    FileManager& items = file("ARTIKLI");
    clearRecord(items.table(), &ARTIKLI);
    ARTIKLI.EAN = "3830001";
    ASSERT_EQ(items.Fetch(items.primaryKey()), kLevelBenign);
    ASSERT_EQ(keeper("ARTIKLI").DeleteWithRules(false), kLevelBenign);
    fetchGroup(1);
    EXPECT_EQ(keeper("SFGRUPE").DeleteWithRules(false), kLevelBenign);
    EXPECT_EQ(countRecords(file("SFGRUPE")), 0);
    EXPECT_EQ(countRecords(file("SFPODGRU")), 0);
    EXPECT_TRUE(raiser.raised().empty());
}

TEST_F(RelationKeeperTest, CascadeUpdateCarriesTheNewNumberToTheLines) {
    addTwoDocuments();
    fetchDocument(1);
    DOK.STEVILKADOKUMENTA = 7;
    DOK.PREVZEL = "Spremenjen";
    EXPECT_EQ(keeper("DOKUMENT").UpdateWithRules(), kLevelBenign);
    EXPECT_EQ(lineNumbers(lines(), key, 7), (std::vector<int>{1, 2}));
    EXPECT_TRUE(lineNumbers(lines(), key, 1).empty());
    EXPECT_EQ(lineNumbers(lines(), key, 2), std::vector<int>{1});
    EXPECT_FALSE(documentExists(1));
    fetchDocument(7);
    EXPECT_EQ(DOK.PREVZEL.str(), "Spremenjen");
    EXPECT_TRUE(raiser.raised().empty());
}

TEST_F(RelationKeeperTest, RestrictOnUpdateResetsTheLinkingFieldsAndKeepsTheOtherChanges) {
    addGroupWithItem();
    fetchGroup(1);
    SFGRUPE.Sifra = 5;
    SFGRUPE.Naziv = "Pijača";
    EXPECT_EQ(keeper("SFGRUPE").UpdateWithRules(true), kLevelNotify);
    ASSERT_EQ(raiser.ids(), Ids{message::ReferentialIntegrityUpdateError});
    EXPECT_EQ(raiser.raised()[0].file, file("ARTIKLI").fileName());
    EXPECT_EQ(SFGRUPE.Sifra, 1);
    EXPECT_EQ(SFGRUPE.Naziv.str(), "Pijača");
    EXPECT_EQ(countRecords(file("SFPODGRU")), 2);
    clearRecord(file("SFPODGRU").table(), &SFPODGRU);
    SFPODGRU.Sifra = 1;
    SFPODGRU.PodSifra = 1;
    EXPECT_EQ(file("SFPODGRU").Fetch(0), kLevelBenign) << "the cascaded subgroup was rolled back";

    EXPECT_EQ(keeper("SFGRUPE").UpdateWithRules(true), kLevelBenign)
        << "saving again works: the driver knows the record as stored";
    fetchGroup(1);
    EXPECT_EQ(SFGRUPE.Naziv.str(), "Pijača");
}

TEST_F(RelationKeeperTest, ChangeByAnotherStationBecomesMessageSevenOnAForm) {
    addTwoDocuments();
    fetchDocument(2);
    const SnapshotHandle form = documents().SnapshotBuffer();
    std::thread other([&] {
        documents().Open();
        documents().Fetch(documents().primaryKey());
        DOK.PREVZEL = "Drugi";
        EXPECT_EQ(documents().Update(), kLevelBenign);
        documents().Close();
    });
    other.join();
    documents().RestoreSnapshot(form);
    DOK.PREVZEL = "Moj";
    EXPECT_EQ(keeper("DOKUMENT").UpdateWithRules(true), kLevelNotify);
    EXPECT_EQ(raiser.ids(), Ids{message::RecordWasNotUpdatedOnForm});
    EXPECT_EQ(DOK.PREVZEL.str(), "Drugi");
    DOK.PREVZEL = "Moj";
    EXPECT_EQ(keeper("DOKUMENT").UpdateWithRules(false), kLevelBenign);
}

TEST_F(RelationKeeperTest, InvalidRecordIsNotWrittenAndGivesOne) {
    addTwoDocuments();
    clearRecord(lines().table(), &DOKPROME);
    DOKPROME.VRSTAPRODAJE = "M";
    DOKPROME.ENOTA = 1;
    DOKPROME.OZNAKADOKUMENTA = "P";
    DOKPROME.VRSTAPROMETA = 10;
    DOKPROME.STEVILKADOKUMENTA = 1;
    DOKPROME.POSTAVKADOKUMENTA = 1;
    ASSERT_EQ(lines().Fetch(0), kLevelBenign);
    DOKPROME.BLAGOALISTORITEV = "X";
    EXPECT_EQ(keeper("DOKPROME").UpdateWithRules(), kLevelUser);
    EXPECT_EQ(lines().lastErrorId(), 15);
}

TEST_F(RelationKeeperTest, DatabaseHeldByAnotherProgramCancelsTheTransaction) {
    DV_EMBEDDED_ONLY("file locks of the embedded database");
    addTwoDocuments();
    fetchDocument(1);
    RawDatabase other(databaseFile());
    ASSERT_EQ(other.exec("BEGIN IMMEDIATE"), SQLITE_OK);
    raiser.answer(false);
    EXPECT_EQ(keeper("DOKUMENT").DeleteWithRules(false), kLevelNotify);
    EXPECT_EQ(raiser.ids(), (Ids{message::TransactionCancelled, message::RecordDeleteError}));
    EXPECT_EQ(raiser.raised()[0].file, documents().fileName());
    other.exec("ROLLBACK");
    EXPECT_TRUE(documentExists(1));
    EXPECT_EQ(lineNumbers(lines(), key, 1), (std::vector<int>{1, 2}));
}

TEST_F(RelationKeeperTest, FullDiskDuringTheCommitUndoesTheWholeDelete) {
    DV_EMBEDDED_ONLY("the full disk is a page limit of the database file");
    closeAccess();
    FullDisk disk;
    {
        openDocumentTables();
        addTwoDocuments();
        fetchDocument(1);
        disk.arm(true);
        raiser.answer(true);   // try again: the disk is still full
        raiser.answer(false);  // give up
        EXPECT_EQ(keeper("DOKUMENT").DeleteWithRules(false), kLevelNotify);
        EXPECT_EQ(raiser.ids(), (Ids{message::RecordWasNotDeleted, message::RecordDeleteError,
                                     message::RecordWasNotDeleted, message::RecordDeleteError}));
        EXPECT_EQ(raiser.raised()[0].file, documents().fileName());
        EXPECT_NE(raiser.raised()[0].error.fileErrorText.find("disk is full"), std::string::npos)
            << raiser.raised()[0].error.fileErrorText;
        disk.arm(false);
        EXPECT_TRUE(documentExists(1));
        EXPECT_EQ(lineNumbers(lines(), key, 1), (std::vector<int>{1, 2}));

        raiser.clear();
        fetchDocument(2);
        DOK.STEVILKADOKUMENTA = 9;
        disk.arm(true);
        EXPECT_EQ(keeper("DOKUMENT").UpdateWithRules(), kLevelNotify);
        EXPECT_EQ(raiser.ids(), Ids{message::RecordWasNotChanged});
        EXPECT_EQ(DOK.STEVILKADOKUMENTA, 9) << "the user's values stay";
        disk.arm(false);
        EXPECT_EQ(keeper("DOKUMENT").UpdateWithRules(), kLevelBenign) << "and can be saved later";
        EXPECT_EQ(lineNumbers(lines(), key, 9), std::vector<int>{1});
        closeAccess();
    }
    keeper("DOKUMENT").OpenAll();
    EXPECT_TRUE(documentExists(1));
    EXPECT_EQ(lineNumbers(lines(), key, 1), (std::vector<int>{1, 2}));
}

TEST_F(RelationKeeperTest, ProcessKilledInTheMiddleOfACascadeLeavesEveryTableAsBefore) {
    addTwoDocuments();
    closeAccess();
    ProcessSignal done;
    ChildProcess station([&] {
        keeper("DOKUMENT").OpenAll();
        documents().UseFile();
        lines().UseFile();
        // A small cache makes the embedded database write the unfinished transaction out.
        if (SqliteDatabase* embedded = access().sqliteDatabase())
            sqlite3_exec(embedded->handle(), "PRAGMA d1.cache_size=5", nullptr, nullptr, nullptr);
        if (access().beginTransaction() != DriverCode::Ok) return 1;
        for (int i = 0; i < 300; ++i)
            if (addLine(lines(), key, 2) == 0) return 2;
        fetchDocument(1);
        if (keeper("DOKUMENT").DeleteWithRules(false) != kLevelBenign) return 3;
        done.send();
        for (;;) ::pause();
    });
    ASSERT_EQ(done.wait(), 'y');
    std::error_code noWal;
    if (!testsOnServer()) {
        EXPECT_GT(std::filesystem::file_size(dataDirectory() / "dideroviv.db-wal", noWal), 0u)
            << "the unfinished transaction reached the disk";
    }
    station.kill();
    EXPECT_EQ(station.wait(), 128 + SIGKILL);

    keeper("DOKUMENT").OpenAll();
    EXPECT_TRUE(documentExists(1));
    EXPECT_TRUE(documentExists(2));
    EXPECT_EQ(lineNumbers(lines(), key, 1), (std::vector<int>{1, 2}));
    EXPECT_EQ(lineNumbers(lines(), key, 2), std::vector<int>{1});
}

TEST_F(RelationKeeperTest, OpenAllOpensEveryRelatedTableOnceForEachPath) {
    EXPECT_EQ(documents().openCount(), 1);
    EXPECT_EQ(lines().openCount(), 1);
    EXPECT_EQ(file("SNSTEV").openCount(), 1);
    keeper("SFGRUPE").OpenAll();
    EXPECT_EQ(file("ARTIKLI").openCount(), 2) << "directly and through the subgroups";
    EXPECT_EQ(file("ZALOGA").openCount(), 2);
    keeper("SFGRUPE").CloseAll();
    EXPECT_EQ(file("ARTIKLI").openCount(), 0);
    keeper("DOKUMENT").CloseAll();
    EXPECT_EQ(lines().openCount(), 0);
    EXPECT_EQ(documents().openCount(), 0);
}

}  // namespace
}  // namespace dv::test
