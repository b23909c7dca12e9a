#include <unistd.h>

#include <algorithm>
#include <numeric>

#include "TableAccessTestSupport.h"
#include "data/RecordBuffers.h"
#include "runtime/MessageTable.h"

// Two stations are two processes with connections of their own on one database.

namespace dv::test {
namespace {

class FileManagerStations : public TableAccessTest {
  protected:
    static constexpr int kLinesPerStation = 25;

    FileManagerStations() { busyTimeoutMs = 10000; }

    // A station adds lines to document 1 as soon as it is told to; 0 when all got a number.
    // Stations adding as fast as they can may take a number from each other several times in a
    // row; the user answers "try again".
    int addLinesAtOnce(ProcessSignal& start) {
        for (int i = 0; i < 100; ++i) raiser.answer(true);
        FileManager& lines = file("DOKPROME");
        lines.Open();
        lines.UseFile();
        if (start.wait() != 'y') return 1;
        for (int i = 0; i < kLinesPerStation; ++i)
            if (addLine(lines, DocumentKey{}, 1, std::to_string(::getpid())) == 0) return 2;
        for (const RaisedMessage& raised : raiser.raised())
            if (raised.id != message::AutoIncrementError) return 3;
        return 0;
    }
};

TEST_F(FileManagerStations, StationsAddingLinesAtOnceGetDifferentNumbers) {
    file("DOKUMENT").Open();
    ASSERT_EQ(addDocument(file("DOKUMENT")), 1);
    file("DOKPROME").Open();
    ASSERT_EQ(file("DOKPROME").UseFile(), kLevelBenign) << "the table exists before the race";
    closeAccess();

    ProcessSignal start;
    ChildProcess first([&] { return addLinesAtOnce(start); });
    ChildProcess second([&] { return addLinesAtOnce(start); });
    start.send();
    start.send();
    EXPECT_EQ(first.wait(), 0);
    EXPECT_EQ(second.wait(), 0);

    file("DOKPROME").Open();
    std::vector<int> numbers = lineNumbers(file("DOKPROME"), DocumentKey{}, 1);
    std::vector<int> expected(2 * kLinesPerStation);
    std::iota(expected.begin(), expected.end(), 1);
    EXPECT_EQ(numbers, expected);
}

TEST_F(FileManagerStations, UpdateAfterAnotherStationChangedTheRecordShowsTheirValues) {
    FileManager& stocktakes = file("INVENTUR");
    stocktakes.Open();
    ASSERT_EQ(stocktakes.PrepareNew(), Level::Benign);
    INVENTUR.StevInventure = 1;
    INVENTUR.Enota = 1;
    INVENTUR.VRSTAPRODAJE = "M";
    INVENTUR.PREDSEDNIK = "Prvotni";
    ASSERT_EQ(stocktakes.Insert(), kLevelBenign);
    closeAccess();

    ProcessSignal readForChange;
    ProcessSignal changedElsewhere;
    ChildProcess firstStation([&] {
        FileManager& mine = file("INVENTUR");
        mine.Open();
        if (mine.Fetch(0) != kLevelBenign) return 1;
        readForChange.send();
        if (changedElsewhere.wait() != 'y') return 2;
        INVENTUR.PREDSEDNIK = "Moj";
        if (mine.Update() != kLevelNotify) return 3;
        if (raiser.ids() != std::vector<std::uint16_t>{message::RecordWasNotUpdated}) return 4;
        if (INVENTUR.PREDSEDNIK.str() != "Njihov") return 5;
        return 0;
    });
    ASSERT_EQ(readForChange.wait(), 'y');
    FileManager& theirs = file("INVENTUR");
    theirs.Open();
    INVENTUR.StevInventure = 1;
    INVENTUR.Enota = 1;
    INVENTUR.VRSTAPRODAJE = "M";
    ASSERT_EQ(theirs.Fetch(0), kLevelBenign);
    INVENTUR.PREDSEDNIK = "Njihov";
    ASSERT_EQ(theirs.Update(), kLevelBenign);
    changedElsewhere.send();
    EXPECT_EQ(firstStation.wait(), 0);
}

}  // namespace
}  // namespace dv::test
