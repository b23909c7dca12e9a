#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "storage/DriverCode.h"
#include "storage/RowPage.h"
#include "storage/TableDriver.h"

namespace dv {

class SqlStatement;
class SqlConnection;
class SqlDialect;
class TableSql;
struct ColumnSelection;

// Where a cursor reads on from. At values (the leading component values of the order, with the
// row id last for a record's own position), reading forward gives the first row at or after
// them, reading backward the last one at or before them; a place that is not inclusive leaves
// out the rows with those very values (the row at a position).
struct KeysetPlace {
    enum class Kind : std::uint8_t { Start, End, At };
    Kind kind = Kind::Start;
    std::vector<KeyValue> values;
    bool inclusive = true;
};

// A condition every row a cursor reads must meet besides the seek (a view's filter, as far as
// the database can test it).
class KeysetCondition {
  public:
    virtual ~KeysetCondition() = default;
    // The SQL of the condition, its parameters numbered from `firstParameter`; empty for none.
    virtual std::string condition(int firstParameter, const SqlDialect& dialect) const = 0;
    // Whether the condition calls the expression functions (see SqlDialect).
    virtual bool callsFunctions() const { return false; }
    // Binds the parameters' values as they are now.
    virtual void bind(SqlStatement& statement, int firstParameter) const = 0;
};

// Called for each row a find reads: the statement on the row (columns as TableSql's selects
// give them), the row id and the version; false stops the find. It refers to a callable that
// outlives the call it is passed to (a lambda written in the call does); it converts from any
// such callable, as a function reference would.
class RowVisitor {
  public:
    template <typename Visit>
    RowVisitor(const Visit& visit)
        : target_(&visit),
          call_([](const void* target, const SqlStatement& statement, std::int64_t row,
                   std::int64_t version) {
              return (*static_cast<const Visit*>(target))(statement, row, version);
          }) {}

    bool operator()(const SqlStatement& statement, std::int64_t row, std::int64_t version) const {
        return call_(target_, statement, row, version);
    }

  private:
    const void* target_;
    bool (*call_)(const void*, const SqlStatement&, std::int64_t, std::int64_t);
};

// Reads one table of the database in the order of one of its keys (or in row order), a page of
// rows at a time, in either direction from a place. Each page is one select that seeks from the
// last row read (keyset paging), so no statement stays open between calls and every page sees
// the data as it is then. The rows of a page are record images, taken one by one.
//
// Growth: the first page after a place is set, after a turn round or after a dropped page holds
// the first-page rows (at least kQuickScanPageRows in quick-scan mode); each further page of a
// pass in one direction twice as many as the one before, up to kLargestPageRows.
//
// Anchors: reading on in the direction of the page goes on after the row taken last; turning
// round goes on from the row the caller kept last (a reader that skips rows keeps only those it
// hands out); without either, from the place set.
//
// A page is dropped when its table changes through the connection (its change counter moves)
// or a transaction is rolled back, so the next row read after a change sees it. A place at
// values is sought one index range at a time: the rows equal in every value but the last and at
// or after the last, then those equal in fewer leading values and after the place in the next
// one, the longest common prefix first.
class KeysetCursor {
  public:
    static constexpr std::int64_t kLargestPageRows = 1024;
    static constexpr std::int64_t kQuickScanPageRows = 512;

    enum class Read : std::uint8_t {
        Row,     // a row was taken (see taken())
        End,     // no more rows in that direction
        Failed,  // the database failed; the failure is noted on the connection
    };

    // `action` says what reading does, for failure messages ("read the table PEOPLE.TPS").
    KeysetCursor(SqlConnection& db, std::int64_t firstPageRows,
                 std::function<std::string()> action);
    KeysetCursor(const KeysetCursor&) = delete;
    KeysetCursor& operator=(const KeysetCursor&) = delete;

    // The table read, in its attached database; it must outlive its use. Drops the page and the
    // prepared selects. Nothing is read before a table is given.
    void use(const TableSql& sql);
    // The condition the selects carry (nullptr: none); it must outlive its use. When the database
    // refuses a select with it, the selects go without it and the answer is false.
    bool setCondition(const KeysetCondition* condition);
    const KeysetCondition* condition() const { return condition_; }

    // The columns the selects read and the record images get (nullptr: every column); it must
    // outlive its use. Drops the page.
    void setColumns(const ColumnSelection* selection);

    void setFirstPageRows(std::int64_t rows) { firstRows_ = rows; }
    void setQuickScan(bool on);

    // Sets the order and the place; the next read starts a pass from it.
    void place(int key, KeysetPlace place);
    int key() const { return key_; }

    // Takes the next row in the direction; on Failed, `error` tells why.
    Read next(bool forward, DriverError& error);
    // The row `next` took last; valid until the next call that reads or drops the page.
    const RowPage::Entry& taken() const { return *taken_; }
    // The caller keeps the row taken last: a turn round goes on from it.
    void keep();
    // The row kept last (0: none since the place was set) and its record image as it was read.
    std::int64_t keptRow() const { return keptRow_; }
    const unsigned char* keptImage() const { return keptImage_; }

    // Drops the rows read ahead, so that the next read sees the table as it is now.
    void flush();
    // Whether the rows read ahead are still those of the table and do not hold `row`: then a
    // change of that row that leaves it in its place in the order leaves them good.
    bool aheadUnaffectedBy(std::int64_t row) const;
    // The caller changed the table through the connection; the rows read ahead stay in use when
    // `aheadStays` (see aheadUnaffectedBy), else the next read reads them again.
    void noteOwnChange(bool aheadStays);

    // Reads the rows of order `key` whose leading terms equal `values` (the condition holding
    // too), in order, at most `limit` of them; false when the database failed.
    bool find(int key, const std::vector<KeyValue>& values, std::int64_t limit, RowVisitor visit,
              DriverError& error);

  private:
    // The shape of one select: `equal` leading terms equal, term `after` after (or, with
    // `orEqual`, at or after) its value in the direction of reading.
    struct Seek {
        int key;
        int equal;
        int after;
        bool orEqual;
        bool forward;
    };

    std::uint64_t changeCount() const;
    std::int64_t firstPageRows() const;
    KeysetPlace anchorFor(bool forward) const;
    KeysetPlace after(std::int64_t row, const unsigned char* image) const;
    void holdKept();
    Read refill(bool forward, DriverError& error);
    bool fill(const KeysetPlace& anchor, bool forward, DriverError& error);
    SqlStatement* select(const Seek& seek, DriverError& error);
    template <typename Sink>
    bool run(const Seek& seek, const std::vector<KeyValue>& values, std::int64_t limit, Sink sink,
             DriverError& error);

    SqlConnection& db_;
    std::function<std::string()> action_;
    const TableSql* sql_ = nullptr;
    std::size_t recordSize_ = 0;
    std::uint64_t* changes_ = nullptr;
    const KeysetCondition* condition_ = nullptr;
    const ColumnSelection* selection_ = nullptr;
    std::unordered_map<std::uint32_t, SqlStatement*> selects_;

    int key_ = kFileOrder;
    KeysetPlace start_;
    RowPage page_;
    std::int64_t firstRows_;
    std::int64_t rows_;
    bool quickScan_ = false;
    std::optional<RowPage::Entry> taken_;  // while the page lives
    std::int64_t keptRow_ = 0;
    // The kept row's image: in the page while it lives, else in keptCopy_.
    const unsigned char* keptImage_ = nullptr;
    std::vector<unsigned char> keptCopy_;
};

}  // namespace dv
