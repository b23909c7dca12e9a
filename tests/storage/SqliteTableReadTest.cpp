#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

#include "StorageTestSupport.h"

namespace dv::test {
namespace {

class SqliteTableRead : public ::testing::Test {
  protected:
    TempDirectory directory;
    SqliteDatabase db;
    std::unique_ptr<SqliteTable> people = openTable(db, peopleTable(), directory.path());
    PersonRecord& buffer = *static_cast<PersonRecord*>(people->record());
};

TEST_F(SqliteTableRead, OpeningCreatesTheMissingTableOnceAndKeepsItsRecords) {
    TempDirectory fresh;
    SqliteDatabase other;
    SqliteTable table(other, peopleTable(), fresh / "PEOPLE.TPS");
    EXPECT_EQ(table.open(AccessMode::ReadWrite), DriverCode::FileNotFound);
    EXPECT_FALSE(table.isOpen());
    ASSERT_EQ(table.create(), DriverCode::Ok) << table.lastError().text;
    ASSERT_EQ(table.open(AccessMode::ReadWrite), DriverCode::Ok) << table.lastError().text;
    EXPECT_TRUE(std::filesystem::exists(fresh / "dideroviv.db"));
    EXPECT_EQ(table.open(AccessMode::ReadWrite), DriverCode::AlreadyOpen);
    addAll(table, {person("A", "Ana")});
    EXPECT_EQ(table.create(), DriverCode::Ok);
    EXPECT_EQ(table.records(), 1);
}

TEST_F(SqliteTableRead, KeyOrderHonoursDescendingComponentsBothWays) {
    // Number ascending, then day descending.
    addAll(*people, {person("A", "", 2, 10), person("B", "", 1, 5), person("C", "", 2, 30),
                     person("D", "", 1, 7), person("E", "", 3, 1)});
    const std::vector<std::string> forward{"D", "B", "C", "A", "E"};
    EXPECT_EQ(codesInOrder(*people, NumberKey), forward);
    std::vector<std::string> backward(forward.rbegin(), forward.rend());
    EXPECT_EQ(codesInOrder(*people, NumberKey, false), backward);
    EXPECT_EQ(codesInOrder(*people, CodeKey), (std::vector<std::string>{"A", "B", "C", "D", "E"}));
    EXPECT_EQ(codesInOrder(*people, kFileOrder),
              (std::vector<std::string>{"A", "B", "C", "D", "E"}));
}

TEST_F(SqliteTableRead, EqualKeyValuesKeepTheOrderInWhichTheyWereAdded) {
    addAll(*people, {person("X3", "", 5, 1), person("X1", "", 5, 1), person("X2", "", 5, 1),
                     person("Y", "", 4, 1)});
    EXPECT_EQ(codesInOrder(*people, NumberKey), (std::vector<std::string>{"Y", "X3", "X1", "X2"}));
    EXPECT_EQ(codesInOrder(*people, NumberKey, false),
              (std::vector<std::string>{"X2", "X1", "X3", "Y"}));
}

TEST_F(SqliteTableRead, SetPlacesReadingAtKeyValues) {
    addAll(*people, {person("A", "", 1, 9), person("B", "", 2, 9), person("C", "", 2, 5),
                     person("D", "", 2, 5), person("E", "", 2, 1), person("F", "", 3, 9)});
    // Key order: A(1,9) B(2,9) C(2,5) D(2,5) E(2,1) F(3,9)
    buffer = person("", "", 2, 5);
    ASSERT_EQ(people->set(NumberKey), DriverCode::Ok);
    EXPECT_EQ(readCodes(*people), (std::vector<std::string>{"C", "D", "E", "F"}));
    buffer = person("", "", 2, 5);
    ASSERT_EQ(people->set(NumberKey), DriverCode::Ok);
    EXPECT_EQ(readCodes(*people, false), (std::vector<std::string>{"D", "C", "B", "A"}));
    // Values between records: 2 with day 7 lies after B (day 9) and before C (day 5).
    buffer = person("", "", 2, 7);
    ASSERT_EQ(people->set(NumberKey), DriverCode::Ok);
    EXPECT_EQ(readCodes(*people), (std::vector<std::string>{"C", "D", "E", "F"}));
    buffer = person("", "", 9, 0);
    ASSERT_EQ(people->set(NumberKey), DriverCode::Ok);
    EXPECT_EQ(people->next(), DriverCode::NoMoreRecords);
    EXPECT_EQ(people->previous(), DriverCode::Ok);
    EXPECT_EQ(buffer.Code.str(), "F");
}

TEST_F(SqliteTableRead, PreviousAfterNextReadsTheRecordBefore) {
    addAll(*people, {person("A"), person("B"), person("C"), person("D")});
    ASSERT_EQ(people->setToStart(CodeKey), DriverCode::Ok);
    for (int i = 0; i < 3; ++i) ASSERT_EQ(people->next(), DriverCode::Ok);
    ASSERT_EQ(people->previous(), DriverCode::Ok);
    EXPECT_EQ(buffer.Code.str(), "B");
    ASSERT_EQ(people->next(), DriverCode::Ok);
    EXPECT_EQ(buffer.Code.str(), "C");
    EXPECT_EQ(people->setToStart(CodeKey), DriverCode::Ok);
    EXPECT_EQ(people->previous(), DriverCode::NoMoreRecords);
    EXPECT_EQ(people->setToEnd(CodeKey), DriverCode::Ok);
    EXPECT_EQ(people->next(), DriverCode::NoMoreRecords);
}

TEST_F(SqliteTableRead, LongOrdersReadAcrossPagesMatchASortedCopy) {
    std::vector<PersonRecord> all;
    for (int i = 0; i < 700; ++i)
        all.push_back(person("P" + std::to_string(i), "", (i * 7) % 13, (i * 11) % 5));
    addAll(*people, all);
    std::vector<int> order(all.size());
    for (std::size_t i = 0; i < order.size(); ++i) order[i] = static_cast<int>(i);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        return std::make_tuple(all[a].Number, -all[a].Day) <
               std::make_tuple(all[b].Number, -all[b].Day);
    });
    std::vector<std::string> expected;
    for (const int i : order) expected.push_back(all[static_cast<std::size_t>(i)].Code.str());
    EXPECT_EQ(codesInOrder(*people, NumberKey), expected);
    EXPECT_EQ(people->send("QUICKSCAN=on"), "on");
    std::vector<std::string> backward(expected.rbegin(), expected.rend());
    EXPECT_EQ(codesInOrder(*people, NumberKey, false), backward);
    EXPECT_EQ(people->records(), 700);
}

TEST_F(SqliteTableRead, SavedPositionIsReadAgainAndReadingGoesOnFromIt) {
    addAll(*people, {person("A", "", 1, 1), person("B", "", 2, 1), person("C", "", 3, 1)});
    ASSERT_EQ(people->setToStart(NumberKey), DriverCode::Ok);
    ASSERT_EQ(people->next(), DriverCode::Ok);
    ASSERT_EQ(people->next(), DriverCode::Ok);
    const DriverPosition saved = people->position();
    EXPECT_EQ(saved.key, NumberKey);
    buffer = person("Z", "changed");
    ASSERT_EQ(people->reget(saved), DriverCode::Ok);
    EXPECT_EQ(buffer.Code.str(), "B");
    ASSERT_EQ(people->reset(saved), DriverCode::Ok);
    EXPECT_EQ(readCodes(*people), (std::vector<std::string>{"B", "C"}));
    ASSERT_EQ(people->reset(saved), DriverCode::Ok);
    EXPECT_EQ(readCodes(*people, false), (std::vector<std::string>{"B", "A"}));
    // The leading values of a key alone place reading as well; a position of another key is
    // refused.
    ASSERT_EQ(people->reset(DriverPosition{NumberKey, 0, {KeyValue(std::int64_t{2})}}),
              DriverCode::Ok);
    EXPECT_EQ(readCodes(*people), (std::vector<std::string>{"B", "C"}));
    DriverPosition foreign = saved;
    foreign.key = CodeKey;
    EXPECT_EQ(people->reset(foreign), DriverCode::DriverError);
    foreign.row = 0;
    foreign.values.assign(3, KeyValue(std::int64_t{1}));
    EXPECT_EQ(people->reset(foreign), DriverCode::DriverError);
}

TEST_F(SqliteTableRead, GetReadsByKeyWithoutMovingThePass) {
    addAll(*people, {person("A", "Ana", 1), person("B", "Bor", 2), person("C", "Cene", 3)});
    ASSERT_EQ(people->setToStart(CodeKey), DriverCode::Ok);
    ASSERT_EQ(people->next(), DriverCode::Ok);
    buffer = person("C");
    ASSERT_EQ(people->get(CodeKey), DriverCode::Ok);
    EXPECT_EQ(buffer.Name.str(), "Cene");
    EXPECT_EQ(buffer.Number, 3);
    ASSERT_EQ(people->next(), DriverCode::Ok);
    EXPECT_EQ(buffer.Code.str(), "B");
    buffer = person("Q");
    EXPECT_EQ(people->get(CodeKey), DriverCode::NoMoreRecords);
    EXPECT_EQ(people->get(7), DriverCode::DriverError);
}

TEST_F(SqliteTableRead, APassCanChangeAndDeleteTheRecordsItReads) {
    std::vector<PersonRecord> all;
    for (int i = 0; i < 150; ++i) all.push_back(person("R" + std::to_string(i), "", i % 10, i));
    addAll(*people, all);
    ASSERT_EQ(people->setToStart(NumberKey), DriverCode::Ok);
    int visited = 0;
    while (people->next() == DriverCode::Ok) {
        ++visited;
        if (buffer.Number >= 100) continue;
        if (buffer.Day % 2 == 0) {
            buffer.Amount.setUnits(buffer.Day * 1000);
            buffer.Number += 100;  // moves the record to the end of the order
            ASSERT_EQ(people->put(), DriverCode::Ok) << people->lastError().text;
        } else {
            ASSERT_EQ(people->remove(), DriverCode::Ok) << people->lastError().text;
        }
    }
    EXPECT_EQ(visited, 150 + 75);  // the moved records come round once more
    EXPECT_EQ(people->records(), 75);
    buffer = person("R42");
    ASSERT_EQ(people->get(CodeKey), DriverCode::Ok);
    EXPECT_EQ(buffer.Amount.units(), 42000);
    EXPECT_EQ(buffer.Number, 102);
}

TEST_F(SqliteTableRead, EveryFieldTypeAndArrayElementSurvivesTheDatabase) {
    PersonRecord record = person("K1", "Kekec", -123456, 77000);
    record.Amount.setUnits(-987654321);
    record.Counts = {1, 65535, 300};
    addAll(*people, {record});
    buffer = PersonRecord{};
    buffer.Code = "K1";
    ASSERT_EQ(people->get(CodeKey), DriverCode::Ok);
    EXPECT_EQ(buffer.Name.str(), "Kekec");
    EXPECT_EQ(buffer.Number, -123456);
    EXPECT_EQ(buffer.Day, 77000);
    EXPECT_EQ(buffer.Amount.units(), -987654321);
    EXPECT_EQ(buffer.Counts, (std::array<std::uint16_t, 3>{1, 65535, 300}));
    RawDatabase raw(directory / "dideroviv.db");
    EXPECT_EQ(raw.scalar("SELECT COUNTS_2 || '/' || AMOUNT || '/' || NAME FROM PEOPLE"),
              "65535/-987654321/Kekec");
}

}  // namespace
}  // namespace dv::test
