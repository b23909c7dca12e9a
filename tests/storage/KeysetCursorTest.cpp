#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "StorageTestSupport.h"
#include "storage/KeysetCursor.h"
#include "storage/SqlStatement.h"

namespace dv::test {
namespace {

// A condition given as SQL text with one value bound to its first parameter.
class TextCondition final : public KeysetCondition {
  public:
    TextCondition(std::string before, std::string after, std::int64_t value)
        : before_(std::move(before)), after_(std::move(after)), value_(value) {}
    std::string condition(int first, const SqlDialect& dialect) const override {
        return before_ + dialect.placeholder(first) + after_;
    }
    void bind(SqlStatement& statement, int first) const override { statement.bind(first, value_); }

  private:
    std::string before_;
    std::string after_;
    std::int64_t value_;
};

// Pages of 2, 4, 8 ... rows, so that short walks cross page edges.
class KeysetCursorTest : public ::testing::Test {
  protected:
    void SetUp() override { cursor.use(*people->sql()); }

    static PersonRecord recordOf(const unsigned char* image) {
        PersonRecord record;
        std::memcpy(&record, image, sizeof record);
        return record;
    }

    // Takes rows in one direction until `accept` takes one (which is kept) or the rows end;
    // the code of the row kept, "" at the end.
    std::string step(bool forward, const std::function<bool(const std::string&)>& accept) {
        DriverError error;
        for (;;) {
            const KeysetCursor::Read read = cursor.next(forward, error);
            EXPECT_NE(read, KeysetCursor::Read::Failed) << error.text;
            if (read != KeysetCursor::Read::Row) return "";
            const std::string code = recordOf(cursor.taken().image).Code.str();
            if (!accept(code)) continue;
            cursor.keep();
            return code;
        }
    }

    std::vector<std::string> take(bool forward, int count) {
        std::vector<std::string> codes;
        while (count-- > 0) {
            const std::string code = step(forward, [](const std::string&) { return true; });
            if (code.empty()) break;
            codes.push_back(code);
        }
        return codes;
    }

    std::vector<std::string> all(int key, KeysetPlace place, bool forward) {
        cursor.place(key, std::move(place));
        return take(forward, 1000);
    }

    // Walks `order` (the codes in the key's order) back and forth in steps that end on and
    // beside page edges, keeping only the rows `accept` takes, and checks every row against an
    // index walk over the same order.
    void walk(int key, const std::vector<std::string>& order,
              const std::function<bool(const std::string&)>& accept) {
        cursor.place(key, KeysetPlace{});
        int kept = -1;  // index in `order` of the row kept last
        const int moves[] = {2, -1, 3, -2, 4, 4, -3, 1, 6, -5, 8, -8, 2, 7, -1, 9, 9, -20, 3};
        for (const int move : moves) {
            const bool forward = move > 0;
            for (int n = 0; n < (forward ? move : -move); ++n) {
                const int size = static_cast<int>(order.size());
                const int direction = forward ? 1 : -1;
                int expected = kept + direction;
                while (expected >= 0 && expected < size &&
                       !accept(order[static_cast<std::size_t>(expected)]))
                    expected += direction;
                const bool inside = expected >= 0 && expected < size;
                const std::string got = step(forward, accept);
                ASSERT_EQ(got, inside ? order[static_cast<std::size_t>(expected)] : "")
                    << "move " << move << " step " << n;
                if (inside) kept = expected;
            }
        }
    }

    TempDirectory directory;
    SqliteDatabase db;
    std::unique_ptr<SqliteTable> people = openTable(db, peopleTable(), directory.path());
    PersonRecord& buffer = *static_cast<PersonRecord*>(people->record());
    KeysetCursor cursor{db, 2, [] { return std::string("read the table PEOPLE.TPS"); }};
};

TEST_F(KeysetCursorTest, TurnsRoundAtPageEdgesFromTheRowKeptLast) {
    std::vector<std::string> codes;
    for (char c = 'A'; c <= 'T'; ++c) codes.emplace_back(1, c);
    std::vector<PersonRecord> records;
    // Number key: numbers 0..3 with five duplicates each (equal day), in the order of adding.
    for (std::size_t i = 0; i < codes.size(); ++i)
        records.push_back(person(codes[i], "", static_cast<int>(i % 4), 7));
    addAll(*people, records);
    const auto every = [](const std::string&) { return true; };
    walk(CodeKey, codes, every);

    std::vector<std::string> byNumber;
    for (int number = 0; number < 4; ++number)
        for (std::size_t i = static_cast<std::size_t>(number); i < codes.size(); i += 4)
            byNumber.push_back(codes[i]);
    walk(NumberKey, byNumber, every);

    // A reader that skips rows goes on past them, and turns round at the row it kept.
    const auto someRefused = [](const std::string& code) {
        return code != "B" && code != "C" && code != "F" && code != "G" && code != "H" &&
               code != "M" && code != "T";
    };
    walk(CodeKey, codes, someRefused);
    walk(NumberKey, byNumber, someRefused);

    // Nothing kept: a turn round at the start finds no row before it, then reading starts over.
    cursor.place(CodeKey, KeysetPlace{});
    EXPECT_EQ(take(false, 1), std::vector<std::string>{});
    EXPECT_EQ(take(true, 2), (std::vector<std::string>{"A", "B"}));
}

TEST_F(KeysetCursorTest, SeeksAtValuesWithDuplicatesInKeyOrder) {
    // Number key: number ascending, day descending, then the order of adding.
    addAll(*people, {person("A", "", 1, 9), person("D1", "", 2, 5), person("B", "", 2, 9),
                     person("D2", "", 2, 5), person("D3", "", 2, 5), person("E", "", 2, 1),
                     person("D4", "", 2, 5), person("Z", "", 3, 1), person("D5", "", 2, 5)});
    using V = std::vector<std::string>;
    using K = KeysetPlace::Kind;
    const std::vector<KeyValue> twoFive{std::int64_t{2}, std::int64_t{5}};
    EXPECT_EQ(all(NumberKey, {K::At, twoFive}, true), (V{"D1", "D2", "D3", "D4", "D5", "E", "Z"}));
    EXPECT_EQ(all(NumberKey, {K::At, twoFive}, false), (V{"D5", "D4", "D3", "D2", "D1", "B", "A"}));
    const std::vector<KeyValue> two{std::int64_t{2}};
    EXPECT_EQ(all(NumberKey, {K::At, two}, true), (V{"B", "D1", "D2", "D3", "D4", "D5", "E", "Z"}));
    EXPECT_EQ(all(NumberKey, {K::At, two}, false),
              (V{"E", "D5", "D4", "D3", "D2", "D1", "B", "A"}));

    // At a record's own position in the middle of the duplicates: with or without the record.
    buffer = person("D3");
    ASSERT_EQ(people->get(CodeKey), DriverCode::Ok);
    std::vector<KeyValue> d3 = twoFive;
    d3.emplace_back(people->position().row);
    EXPECT_EQ(all(NumberKey, {K::At, d3, false}, true), (V{"D4", "D5", "E", "Z"}));
    EXPECT_EQ(all(NumberKey, {K::At, d3, false}, false), (V{"D2", "D1", "B", "A"}));
    EXPECT_EQ(all(NumberKey, {K::At, d3, true}, true), (V{"D3", "D4", "D5", "E", "Z"}));
    EXPECT_EQ(all(NumberKey, {K::At, d3, true}, false), (V{"D3", "D2", "D1", "B", "A"}));
    // Values between records, and beyond both ends.
    const std::vector<KeyValue> twoSeven{std::int64_t{2}, std::int64_t{7}};
    EXPECT_EQ(all(NumberKey, {K::At, twoSeven}, true), (V{"D1", "D2", "D3", "D4", "D5", "E", "Z"}));
    EXPECT_EQ(all(NumberKey, {K::At, twoSeven}, false), (V{"B", "A"}));
    EXPECT_EQ(all(NumberKey, {K::At, {std::int64_t{9}}}, true), V{});
    EXPECT_EQ(all(NumberKey, {K::At, {std::int64_t{0}}}, false), V{});
    EXPECT_EQ(all(NumberKey, {K::End, {}}, true), V{});
    EXPECT_EQ(all(NumberKey, {K::End, {}}, false).size(), 9u);
}

TEST_F(KeysetCursorTest, AChangeThroughTheConnectionBetweenPagesIsSeen) {
    addAll(*people, {person("A", "Ana"), person("B", "Bor"), person("C", "Cene"),
                     person("D", "Dan"), person("E", "Eva"), person("F", "Fran")});
    cursor.place(CodeKey, KeysetPlace{});
    EXPECT_EQ(take(true, 1), std::vector<std::string>{"A"});  // the page holds A and B
    buffer = person("B");
    ASSERT_EQ(people->get(CodeKey), DriverCode::Ok);
    buffer.Name = "Bojan";
    ASSERT_EQ(people->put(), DriverCode::Ok) << people->lastError().text;
    EXPECT_EQ(take(true, 1), std::vector<std::string>{"B"});
    EXPECT_EQ(recordOf(cursor.keptImage()).Name.str(), "Bojan");

    // A row ahead deleted, one added between pages.
    buffer = person("C");
    ASSERT_EQ(people->get(CodeKey), DriverCode::Ok);
    ASSERT_EQ(people->remove(), DriverCode::Ok) << people->lastError().text;
    addAll(*people, {person("BB", "Boris")});
    EXPECT_EQ(take(true, 2), (std::vector<std::string>{"BB", "D"}));

    // Rows read ahead inside a transaction that is rolled back are read again.
    ASSERT_EQ(people->beginTransaction(), DriverCode::Ok);
    addAll(*people, {person("DA"), person("DB")});
    EXPECT_EQ(take(true, 1), std::vector<std::string>{"DA"});  // the page holds DA and DB
    ASSERT_EQ(people->rollback(), DriverCode::Ok);
    EXPECT_EQ(take(true, 1), std::vector<std::string>{"E"});
    EXPECT_EQ(take(false, 2), (std::vector<std::string>{"D", "BB"}));

    // The owner's own change of a row the page holds drops the page: another program's change
    // of that row, made meanwhile, is seen too.
    cursor.place(CodeKey, KeysetPlace{});
    EXPECT_EQ(take(true, 1), std::vector<std::string>{"A"});  // the page holds A and B
    RawDatabase other(directory / "dideroviv.db");
    ASSERT_EQ(other.exec("UPDATE PEOPLE SET NAME='Bogdan' WHERE CODE='B'"), SQLITE_OK);
    buffer = person("B");
    ASSERT_EQ(people->get(CodeKey), DriverCode::Ok);
    EXPECT_FALSE(cursor.aheadUnaffectedBy(people->position().row));
    cursor.noteOwnChange(false);
    EXPECT_EQ(take(true, 1), std::vector<std::string>{"B"});
    EXPECT_EQ(recordOf(cursor.keptImage()).Name.str(), "Bogdan");
}

TEST_F(KeysetCursorTest, CarriesAConditionAndReportsAFailedRead) {
    std::vector<PersonRecord> records;
    for (int i = 0; i < 12; ++i)
        records.push_back(person("P" + std::to_string(10 + i), "", i % 3, 30 - i));
    addAll(*people, records);
    // The condition's parameter follows the seek values and the limit of every select.
    const TextCondition notTwo("NUMBER<>", "", 2);
    ASSERT_TRUE(cursor.setCondition(&notTwo));
    const std::vector<std::string> kept{"P10", "P13", "P16", "P19", "P11", "P14", "P17", "P20"};
    EXPECT_EQ(all(NumberKey, KeysetPlace{}, true), kept);
    const auto accept = [](const std::string&) { return true; };
    walk(NumberKey, kept, accept);
    EXPECT_EQ(all(NumberKey, {KeysetPlace::Kind::At, {std::int64_t{1}, std::int64_t{25}}}, false),
              (std::vector<std::string>{"P14", "P11", "P19", "P16", "P13", "P10"}));

    // A condition the database refuses is left out.
    const TextCondition unknown("NOSUCHCOLUMN=", "", 1);
    EXPECT_FALSE(cursor.setCondition(&unknown));
    EXPECT_EQ(cursor.condition(), nullptr);
    EXPECT_EQ(all(CodeKey, KeysetPlace{}, true).size(), 12u);

    // A select that fails while it runs is a failure, not the end of the rows.
    const TextCondition overflow("abs(", ")>0", std::numeric_limits<std::int64_t>::min());
    ASSERT_TRUE(cursor.setCondition(&overflow));
    cursor.place(CodeKey, KeysetPlace{});
    DriverError error;
    EXPECT_EQ(cursor.next(true, error), KeysetCursor::Read::Failed);
    EXPECT_NE(error.code, DriverCode::Ok);
    EXPECT_NE(error.text.find("read the table PEOPLE.TPS"), std::string::npos) << error.text;
}

}  // namespace
}  // namespace dv::test
