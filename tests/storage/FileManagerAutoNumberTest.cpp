#include "TableAccessTestSupport.h"
#include "data/RecordBuffers.h"
#include "runtime/MessageTable.h"
#include "support/TestEngine.h"

namespace dv::test {
namespace {

class FileManagerAutoNumber : public TableAccessTest {
  protected:
    void SetUp() override {
        documents().Open();
        lines().Open();
    }
    FileManager& documents() { return file("DOKUMENT"); }
    FileManager& lines() { return file("DOKPROME"); }

    // A new document of the default key in the buffer.
    void primeDocument(const char* kind = "M", int unit = 1) {
        clearRecord(documents().table(), &DOK);
        DOK.VRSTAPRODAJE = kind;
        DOK.ENOTA = static_cast<std::uint16_t>(unit);
        DOK.OZNAKADOKUMENTA = "P";
        DOK.VRSTAPROMETA = 10;
        DOK.NACINDODELJEVANJASTEVILK = "C";
        DOK.STATUSPARTNERJA = "D";
    }

    // Makes the document current again.
    void fetchDocument(int number, const DocumentKey& key = {}) {
        clearRecord(documents().table(), &DOK);
        DOK.VRSTAPRODAJE = key.kind;
        DOK.ENOTA = static_cast<std::uint16_t>(key.unit);
        DOK.OZNAKADOKUMENTA = key.mark;
        DOK.VRSTAPROMETA = static_cast<std::uint16_t>(key.type);
        DOK.STEVILKADOKUMENTA = number;
        ASSERT_EQ(documents().Fetch(documents().primaryKey()), kLevelBenign);
    }
};

TEST_F(FileManagerAutoNumber, LinesOfADocumentAreNumberedFromOneAndEachDocumentAgain) {
    const DocumentKey key;
    const DocumentKey otherUnit{"M", 2, "P", 10};
    EXPECT_EQ(addDocument(documents(), key), 1);
    EXPECT_EQ(addDocument(documents(), key), 2);
    EXPECT_EQ(addDocument(documents(), otherUnit), 1) << "numbered within its unit";
    EXPECT_EQ(addLine(lines(), key, 1), 1);
    EXPECT_EQ(addLine(lines(), key, 1), 2);
    EXPECT_EQ(addLine(lines(), key, 2), 1);
    EXPECT_EQ(addLine(lines(), otherUnit, 1), 1);
    EXPECT_EQ(addLine(lines(), key, 1), 3);
    EXPECT_EQ(lineNumbers(lines(), key, 1), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(lineNumbers(lines(), key, 2), std::vector<int>{1});
    EXPECT_EQ(countRecords(lines()), 5);
    EXPECT_TRUE(raiser.raised().empty());
}

TEST_F(FileManagerAutoNumber, EveryNumberedKeyIsNumberedAndTheRecordAddedAtOnce) {
    ASSERT_EQ(addDocument(documents()), 1);
    primeDocument();
    ASSERT_EQ(documents().PrepareNew(true), kLevelBenign);
    EXPECT_TRUE(documents().autoNumberDone());
    EXPECT_EQ(DOK.Id, 2u) << "the record identifier";
    EXPECT_EQ(DOK.STEVILKADOKUMENTA, 2) << "the document number";
    EXPECT_EQ(countRecords(documents()), 2) << "the number is taken at once";

    EXPECT_EQ(documents().PrepareNew(true), kLevelBenign);
    EXPECT_EQ(DOK.STEVILKADOKUMENTA, 2) << "not numbered twice";
    DOK.PREVZEL = "Janez";
    ASSERT_EQ(documents().Insert(), kLevelBenign);
    EXPECT_FALSE(documents().autoNumberDone());
    EXPECT_EQ(countRecords(documents()), 2) << "written in place";
    fetchDocument(2);
    EXPECT_EQ(DOK.PREVZEL.str(), "Janez");

    primeDocument("V", 3);
    ASSERT_EQ(documents().Insert(), kLevelBenign) << "without PrepareNew: numbered now";
    EXPECT_EQ(DOK.STEVILKADOKUMENTA, 1);
    EXPECT_EQ(DOK.Id, 3u);
    EXPECT_EQ(countRecords(documents()), 3);
}

TEST_F(FileManagerAutoNumber, ReadingOtherRecordsBeforeTheInsertDoesNotOverwriteThem) {
    ASSERT_EQ(addDocument(documents()), 1);
    primeDocument();
    ASSERT_EQ(documents().PrepareNew(true), kLevelBenign);
    const SnapshotHandle form = documents().SnapshotBuffer();
    fetchDocument(1);  // a lookup of the same thread reads another document
    documents().RestoreSnapshot(form);
    DOK.PREVZEL = "Nova";
    ASSERT_EQ(documents().Insert(), kLevelBenign);
    fetchDocument(1);
    EXPECT_EQ(DOK.PREVZEL.str(), "test");
    fetchDocument(2);
    EXPECT_EQ(DOK.PREVZEL.str(), "Nova");
}

TEST_F(FileManagerAutoNumber, CancelledNewRecordIsRemovedAgainWithItsLines) {
    const DocumentKey key;
    ASSERT_EQ(addDocument(documents(), key), 1);
    ASSERT_EQ(addLine(lines(), key, 1), 1);
    primeDocument();
    ASSERT_EQ(documents().PrepareNew(true), kLevelBenign);
    ASSERT_EQ(DOK.STEVILKADOKUMENTA, 2);
    const SnapshotHandle form = documents().SnapshotBuffer();
    ASSERT_EQ(addLine(lines(), key, 2), 1);
    ASSERT_EQ(addLine(lines(), key, 2), 2);
    documents().RestoreSnapshot(form);
    EXPECT_EQ(documents().CancelAutoNumber(access().relations("DOKUMENT")), kLevelBenign);
    EXPECT_FALSE(documents().autoNumberDone());
    EXPECT_EQ(countRecords(documents()), 1);
    EXPECT_TRUE(lineNumbers(lines(), key, 2).empty());
    EXPECT_EQ(lineNumbers(lines(), key, 1), std::vector<int>{1});
    EXPECT_TRUE(raiser.raised().empty()) << "no confirmation for a cancelled record";

    ASSERT_EQ(documents().PrepareNew(), kLevelBenign);
    EXPECT_EQ(countRecords(documents()), 2);
    EXPECT_EQ(documents().CancelAutoNumber(), kLevelBenign) << "deleted directly";
    EXPECT_EQ(countRecords(documents()), 1);
    EXPECT_EQ(documents().CancelAutoNumber(), kLevelBenign) << "nothing left to cancel";
}

TEST_F(FileManagerAutoNumber, ThirdFailedAddInARowAsksWhetherToTryAgain) {
    DV_EMBEDDED_ONLY("another program is a raw SQLite connection with a trigger");
    FileManager& units = file("SFEM");
    units.Open();
    EXPECT_EQ(countRecords(units), 0);
    RawDatabase other(databaseFile());
    ASSERT_EQ(other.exec("CREATE TRIGGER taken BEFORE INSERT ON SFEM "
                         "BEGIN SELECT RAISE(ABORT, 'number taken'); END"),
              SQLITE_OK);
    raiser.answer(true);
    raiser.answer(false);
    EXPECT_EQ(units.PrepareNew(), kLevelNotify);
    EXPECT_EQ(raiser.ids(), (std::vector<std::uint16_t>{message::AutoIncrementError,
                                                        message::AutoIncrementError}));
    EXPECT_NE(raiser.raised()[0].error.fileErrorText.find("number taken"), std::string::npos)
        << raiser.raised()[0].error.fileErrorText;
    EXPECT_FALSE(units.autoNumberDone());

    raiser.clear();
    EXPECT_EQ(units.AutoNumberSilently(), kLevelNotify);
    EXPECT_TRUE(raiser.raised().empty());
    EXPECT_EQ(units.lastErrorId(), message::AutoIncrementError);

    ASSERT_EQ(other.exec("DROP TRIGGER taken"), SQLITE_OK);
    EXPECT_EQ(units.PrepareNew(), kLevelBenign);
    EXPECT_EQ(SFEM.SIFRAEM, 1);
}

TEST_F(FileManagerAutoNumber, KeyWithoutAFreeNumberIsNotWrappedAround) {
    FileManager& units = file("SFEM");
    units.Open();
    units.UseFile();
    clearRecord(units.table(), &SFEM);
    SFEM.SIFRAEM = 65535;
    SFEM.NAZIVEM = "zadnja";
    ASSERT_EQ(units.driver()->add(), DriverCode::Ok);
    raiser.answer(false);
    EXPECT_EQ(units.PrepareNew(), kLevelNotify);
    EXPECT_EQ(raiser.ids(), std::vector<std::uint16_t>{message::AutoIncrementError});
    EXPECT_NE(raiser.raised()[0].error.fileErrorText.find("no number left"), std::string::npos);
    EXPECT_EQ(countRecords(units), 1);
}

}  // namespace
}  // namespace dv::test
