#include <algorithm>
#include <thread>

#include "TableAccessTestSupport.h"
#include "data/RecordBuffers.h"
#include "runtime/MessageTable.h"
#include "support/TestEngine.h"

namespace dv::test {
namespace {

using FileManagerReadWrite = TableAccessTest;

void setStocktakeKey(int number) {
    INVENTUR.StevInventure = static_cast<std::uint16_t>(number);
    INVENTUR.Enota = 1;
    INVENTUR.VRSTAPRODAJE = "M";
}

Level addStocktake(FileManager& stocktakes, int number, std::string_view member) {
    EXPECT_EQ(stocktakes.PrepareNew(), Level::Benign);
    setStocktakeKey(number);
    INVENTUR.CLAN1 = member;
    return stocktakes.Insert();
}

std::vector<std::string> membersRead(FileManager& stocktakes, bool forward) {
    std::vector<std::string> members;
    while ((forward ? stocktakes.Next() : stocktakes.Previous()) == kLevelBenign)
        members.push_back(INVENTUR.CLAN1.str());
    return members;
}

class FileManagerStocktakes : public TableAccessTest {
  protected:
    void SetUp() override {
        stocktakes().Open();
        for (const auto& [number, member] : {std::pair{2, "Bor"}, {1, "Ana"}, {3, "Cene"}})
            ASSERT_EQ(addStocktake(stocktakes(), number, member), kLevelBenign);
    }
    FileManager& stocktakes() { return file("INVENTUR"); }
};

TEST_F(FileManagerStocktakes, FetchReadsByKeyAndLeavesOrClearsTheBufferWhenMissing) {
    setStocktakeKey(2);
    ASSERT_EQ(stocktakes().Fetch(0), kLevelBenign);
    EXPECT_EQ(INVENTUR.CLAN1.str(), "Bor");

    setStocktakeKey(9);
    EXPECT_EQ(stocktakes().Fetch(0), kLevelNotify);
    EXPECT_EQ(stocktakes().lastErrorId(), message::RecordRetrievalError);
    EXPECT_EQ(INVENTUR.StevInventure, 9) << "the buffer is left as it was";
    EXPECT_EQ(stocktakes().FetchOrClear(0), kLevelNotify);
    EXPECT_EQ(INVENTUR.StevInventure, 0);
    EXPECT_TRUE(INVENTUR.CLAN1.blank());
    EXPECT_TRUE(raiser.raised().empty()) << "Fetch is silent";
}

TEST_F(FileManagerStocktakes, DuplicateKeyNamesTheKeyInReportingAndSilentForm) {
    EXPECT_EQ(addStocktake(stocktakes(), 2, "Other"), kLevelNotify);
    ASSERT_EQ(raiser.ids(), std::vector<std::uint16_t>{message::DuplicateKeyError});
    EXPECT_EQ(raiser.raised()[0].text, " PO ŠTEVILKI");
    EXPECT_EQ(raiser.raised()[0].file, stocktakes().fileName());

    raiser.clear();
    EXPECT_EQ(stocktakes().PrepareNew(), Level::Benign);
    setStocktakeKey(3);
    EXPECT_EQ(stocktakes().InsertSilently(), kLevelNotify);
    EXPECT_TRUE(raiser.raised().empty());
    EXPECT_EQ(stocktakes().lastErrorId(), message::DuplicateKeyError);
    EXPECT_EQ(stocktakes().RaiseLastError(), kLevelNotify);
    ASSERT_EQ(raiser.ids(), std::vector<std::uint16_t>{message::DuplicateKeyError});
    EXPECT_EQ(raiser.raised()[0].text, " PO ŠTEVILKI");
    EXPECT_EQ(raiser.raised()[0].error.code, static_cast<int>(DriverCode::DuplicateKey))
        << "the error as it was when noted";
    EXPECT_EQ(countRecords(stocktakes()), 3);
}

// A database table whose sequential reads meet records held by another station: the reads
// numbered in `held` (from 1) report the record held, having moved on to it or not.
class HoldingDriver final : public TableDriver {
  public:
    HoldingDriver(SqlConnection& db, const TableDef& table, const std::string& file,
                  std::vector<int> held, bool movesOn)
        : TableDriver(table, file),
          inner_(db, table, file),
          held_(std::move(held)),
          movesOn_(movesOn) {}

    DriverCode next() override {
        if (std::find(held_.begin(), held_.end(), ++reads_) == held_.end())
            return pass(inner_.next());
        if (movesOn_) inner_.next();
        return fail(DriverCode::RecordHeld, 0, "held by another station");
    }

    DriverCode open(AccessMode mode) override { return pass(inner_.open(mode)); }
    DriverCode create() override { return pass(inner_.create()); }
    void close() override { inner_.close(); }
    bool isOpen() const override { return inner_.isOpen(); }
    bool isReadOnly() const override { return inner_.isReadOnly(); }
    DriverCode rebuildKeys() override { return pass(inner_.rebuildKeys()); }
    DriverCode get(int key) override { return pass(inner_.get(key)); }
    DriverCode reget(const DriverPosition& p) override { return pass(inner_.reget(p)); }
    DriverPosition position() const override { return inner_.position(); }
    DriverCode setToStart(int key) override { return pass(inner_.setToStart(key)); }
    DriverCode setToEnd(int key) override { return pass(inner_.setToEnd(key)); }
    DriverCode set(int key) override { return pass(inner_.set(key)); }
    DriverCode reset(const DriverPosition& p) override { return pass(inner_.reset(p)); }
    DriverCode previous() override { return pass(inner_.previous()); }
    DriverCode add() override { return pass(inner_.add()); }
    DriverCode put() override { return pass(inner_.put()); }
    DriverCode remove() override { return pass(inner_.remove()); }
    bool isDuplicate(int key, bool excludeCurrent) override {
        return inner_.isDuplicate(key, excludeCurrent);
    }
    std::int64_t records() override { return inner_.records(); }
    std::string send(std::string_view command) override { return inner_.send(command); }
    DriverCode stream() override { return pass(inner_.stream()); }
    DriverCode flush() override { return pass(inner_.flush()); }
    DriverCode beginTransaction() override { return pass(inner_.beginTransaction()); }
    DriverCode commit() override { return pass(inner_.commit()); }
    DriverCode rollback() override { return pass(inner_.rollback()); }

  private:
    DriverCode pass(DriverCode code) {
        return code == DriverCode::Ok ? succeed() : fail(inner_.lastError());
    }

    SqliteTable inner_;
    std::vector<int> held_;
    bool movesOn_;
    int reads_ = 0;
};

TEST_F(FileManagerStocktakes, HeldRecordsAreReportedOrSkippedWhileReadingMovesOn) {
    const TableDef& table = stocktakes().table();
    const std::unique_ptr<SqlConnection> db = testConnection(options());
    auto holding = [&](std::vector<int> held, bool movesOn) {
        return FileManager(table, [&db, held, movesOn](const TableDef& t, const std::string& f) {
            return std::make_unique<HoldingDriver>(*db, t, f, held, movesOn);
        });
    };
    {
        FileManager reader = holding({2}, true);
        reader.Open();
        ASSERT_EQ(reader.Next(), kLevelBenign);
        EXPECT_EQ(reader.Next(), kLevelNotify);
        EXPECT_EQ(raiser.ids(), std::vector<std::uint16_t>{message::RecordNotRead});
        EXPECT_EQ(raiser.raised()[0].file, reader.fileName());
    }
    raiser.clear();
    {
        FileManager reader = holding({2, 3}, true);
        reader.settings().skipHeldRecords = true;
        reader.Open();
        EXPECT_EQ(membersRead(reader, true), std::vector<std::string>{"Bor"})
            << "the second and third records (in the order added) are skipped";
        EXPECT_TRUE(reader.atEndOfFile());
    }
    {
        FileManager reader = holding({1, 2}, false);
        reader.settings().skipHeldRecords = true;
        reader.Open();
        EXPECT_EQ(reader.NextSilently(), kLevelNotify) << "a held record that stays is not skipped";
        EXPECT_EQ(reader.lastErrorId(), message::RecordNotRead);
        EXPECT_FALSE(reader.atEndOfFile());
    }
    EXPECT_TRUE(raiser.raised().empty());
}

TEST_F(FileManagerStocktakes, UpdateWritesTheRecordAndRemoveDeletesIt) {
    setStocktakeKey(2);
    ASSERT_EQ(stocktakes().Fetch(0), kLevelBenign);
    INVENTUR.CLAN2 = "Drugi";
    EXPECT_EQ(stocktakes().Update(), kLevelBenign);
    setStocktakeKey(2);
    INVENTUR.CLAN2 = "";
    ASSERT_EQ(stocktakes().Fetch(0), kLevelBenign);
    EXPECT_EQ(INVENTUR.CLAN2.str(), "Drugi");
    EXPECT_EQ(stocktakes().Remove(), kLevelBenign);
    EXPECT_EQ(stocktakes().Remove(), kLevelNotify) << "no current record any more";
    EXPECT_EQ(stocktakes().lastErrorId(), message::RecordWasNotDeleted);
    EXPECT_EQ(stocktakes().Fetch(0), kLevelNotify);
    EXPECT_EQ(countRecords(stocktakes()), 2);
}

// Each thread has its own driver: a record read by one thread and changed by another is a
// change by another station.
void changeInAnotherThread(FileManager& stocktakes, std::string_view member) {
    std::thread other([&] {
        stocktakes.Open();
        stocktakes.Fetch(0);
        INVENTUR.CLAN1 = member;
        EXPECT_EQ(stocktakes.Update(), kLevelBenign);
        stocktakes.Close();
    });
    other.join();
}

TEST_F(FileManagerStocktakes, UpdateAfterAnotherThreadChangedTheRecordShowsTheOtherValues) {
    setStocktakeKey(2);
    ASSERT_EQ(stocktakes().Fetch(0), kLevelBenign);
    const SnapshotHandle mine = stocktakes().SnapshotBuffer();
    changeInAnotherThread(stocktakes(), "Theirs");
    stocktakes().RestoreSnapshot(mine);
    INVENTUR.CLAN1 = "Mine";
    EXPECT_EQ(stocktakes().Update(), kLevelNotify);
    EXPECT_EQ(raiser.ids(), std::vector<std::uint16_t>{message::RecordWasNotUpdated});
    EXPECT_EQ(INVENTUR.CLAN1.str(), "Theirs");
    INVENTUR.CLAN1 = "Mine";
    EXPECT_EQ(stocktakes().Update(), kLevelBenign) << "now the record read is the latest";

    changeInAnotherThread(stocktakes(), "Again");
    INVENTUR.CLAN1 = "Mine";
    EXPECT_EQ(stocktakes().UpdateSilently(), kLevelNotify);
    EXPECT_EQ(raiser.ids().size(), 1u) << "the silent form raises nothing";
    EXPECT_EQ(stocktakes().lastErrorId(), message::RecordWasNotUpdated);
    EXPECT_EQ(INVENTUR.CLAN1.str(), "Again");
}

TEST_F(FileManagerStocktakes, BufferSnapshotsCompareAndRestore) {
    setStocktakeKey(1);
    ASSERT_EQ(stocktakes().Fetch(0), kLevelBenign);
    const SnapshotHandle first = stocktakes().SnapshotBuffer();
    const SnapshotHandle second = stocktakes().SnapshotBuffer();
    EXPECT_NE(first, second);
    EXPECT_TRUE(stocktakes().SnapshotEquals(first));
    INVENTUR.CLAN1 = "Changed";
    EXPECT_FALSE(stocktakes().SnapshotEquals(first));
    stocktakes().RestoreSnapshot(first);
    EXPECT_EQ(INVENTUR.CLAN1.str(), "Ana");
    EXPECT_FALSE(stocktakes().SnapshotEquals(first)) << "a restored copy is forgotten";
    INVENTUR.CLAN1 = "Changed";
    stocktakes().RestoreSnapshot(second, false);
    EXPECT_EQ(INVENTUR.CLAN1.str(), "Changed");
}

// In the order added: Bor, Ana, Cene.
TEST_F(FileManagerStocktakes, RestoredPositionMakesTheSavedRecordCurrentAgain) {
    ASSERT_EQ(stocktakes().driver()->setToStart(kFileOrder), DriverCode::Ok);
    ASSERT_EQ(stocktakes().Next(), kLevelBenign);
    ASSERT_EQ(stocktakes().Next(), kLevelBenign);
    const SnapshotHandle saved = stocktakes().SnapshotPosition();
    EXPECT_EQ(membersRead(stocktakes(), true), std::vector<std::string>{"Cene"});
    stocktakes().RestorePosition(saved);
    EXPECT_EQ(INVENTUR.CLAN1.str(), "Ana");
    INVENTUR.CLAN2 = "Saved";
    EXPECT_EQ(stocktakes().Update(), kLevelBenign) << "the saved record is current again";
    EXPECT_EQ(membersRead(stocktakes(), true), std::vector<std::string>{"Cene"});

    ASSERT_EQ(stocktakes().driver()->setToStart(kFileOrder), DriverCode::Ok);
    ASSERT_EQ(stocktakes().Next(), kLevelBenign);
    const SnapshotHandle atBor = stocktakes().SnapshotPosition();
    ASSERT_EQ(stocktakes().Remove(), kLevelBenign);
    stocktakes().RestorePosition(atBor);
    EXPECT_EQ(INVENTUR.CLAN1.str(), "Bor") << "the buffer as saved";
    EXPECT_EQ(membersRead(stocktakes(), true), (std::vector<std::string>{"Ana", "Cene"}))
        << "reading goes on where the deleted record stood";
}

TEST_F(FileManagerReadWrite, DefaultsAndFieldRulesWithTheirTexts) {
    FileManager& items = file("ARTIKLI");
    items.Open();
    clearRecord(items.table(), &ARTIKLI);
    ARTIKLI.EAN = "123";
    ARTIKLI.DAVEK = 7;
    EXPECT_EQ(items.PrepareNew(true), kLevelBenign);
    EXPECT_EQ(ARTIKLI.EAN.str(), "123") << "the buffer is kept";
    EXPECT_EQ(ARTIKLI.VRSTAIZDELKA.str(), "B") << "the defaults are given";
    EXPECT_EQ(ARTIKLI.DAVEK, 1);
    ARTIKLI.VRSTAIZDELKA = "X";
    const int kind = items.table().findField("VRSTAIZDELKA") + 1;
    EXPECT_EQ(items.CheckRecord(1, false), kind);
    EXPECT_EQ(items.lastErrorId(), 15);
    EXPECT_TRUE(raiser.raised().empty());

    EXPECT_EQ(items.Insert(), kLevelNotify);
    ASSERT_EQ(raiser.ids(), std::vector<std::uint16_t>{15});
    EXPECT_EQ(raiser.raised()[0].field, "Ali je blago, storitev, ostalo");
    EXPECT_EQ(raiser.raised()[0].text, "'Blago','Storitev','Ostalo'");
    EXPECT_EQ(countRecords(items), 0);
    EXPECT_EQ(items.CheckRecord(kind + 1), 0) << "checking starts at the given field";

    ARTIKLI.VRSTAIZDELKA = "S";
    ASSERT_EQ(items.Insert(), kLevelBenign);
    ARTIKLI.VRSTAIZDELKA = "Q";
    EXPECT_EQ(items.Update(), kLevelUser);
    EXPECT_EQ(items.CheckFieldSilently(kind), kLevelNotify);
    ARTIKLI.VRSTAIZDELKA = "O";
    EXPECT_EQ(items.CheckField(kind), kLevelBenign);
}

TEST_F(FileManagerReadWrite, InsertOnAFullDiskIsReportedAndLosesNothing) {
    DV_EMBEDDED_ONLY("the full disk is a page limit of the database file");
    FullDisk disk;
    {
        FileManager& stocktakes = file("INVENTUR");
        stocktakes.Open();
        ASSERT_EQ(addStocktake(stocktakes, 1, "Ana"), kLevelBenign);
        disk.arm(true);
        EXPECT_EQ(addStocktake(stocktakes, 2, "Bor"), kLevelNotify);
        ASSERT_EQ(raiser.ids(), std::vector<std::uint16_t>{message::RecordInsertError});
        EXPECT_EQ(raiser.raised()[0].file, stocktakes.fileName());
        EXPECT_NE(raiser.raised()[0].error.fileErrorText.find("disk is full"), std::string::npos)
            << raiser.raised()[0].error.fileErrorText;
        EXPECT_EQ(INVENTUR.CLAN1.str(), "Bor") << "the user's record stays in the buffer";
        disk.arm(false);
        EXPECT_EQ(stocktakes.Insert(), kLevelBenign);
        EXPECT_EQ(countRecords(stocktakes), 2);
        closeAccess();
    }
}

TEST_F(FileManagerReadWrite, ProcedureThatIsNotPartOfTheProgramIsReported) {
    EXPECT_EQ(raiseProcedureNotDefined("IzpisBlagajne"), kLevelNotify);
    ASSERT_EQ(raiser.ids(), std::vector<std::uint16_t>{24});
    EXPECT_EQ(raiser.raised()[0].text, "IzpisBlagajne");
}

}  // namespace
}  // namespace dv::test
