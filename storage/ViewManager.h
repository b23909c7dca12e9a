#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "storage/FileManager.h"
#include "storage/RelationKeeper.h"
#include "storage/TableSchema.h"
#include "storage/ViewFilter.h"
#include "storage/ViewReader.h"

namespace dv {

class ViewSqlReader;

// The most characters a view's filter may hold.
inline constexpr std::size_t kMaxViewFilterLength = 4999;

// The message shown when a view's filter is refused ("View Open Error").

// A filtered, sorted view over a primary table and the tables joined to it: what a browse list
// shows and a batch walks. It reads in the order of one of the primary table's keys (or in file
// order), forward or, for a descending view, backward; the filter (an expression, see
// ViewFilter) is applied by the database as far as it can and tested on each record for the
// rest. Each record read lands in the primary table's record buffer, and the joined tables'
// buffers receive their related record (cleared when there is none).
//
// Reading works as the table drivers do: a place is set, Next reads the record after it and
// Previous the one before it, and the record read becomes the place. A place at key values
// lies just before the first record with those values for Next and just after the last one for
// Previous; a place at a record's position is that record for both.
//
// The tables are opened by Open and closed by Close, through the primary table's relation keeper
// when the view has one. Reading failures are reported through the table layer (message 1).
class ViewManager {
  public:
    // A table read for each record of the view: its record with the key `key` whose linking
    // fields equal the primary record's fields.
    struct Join {
        struct Pair {
            int primaryField;
            int joinedField;
        };
        FileManager* file;
        int key;
        std::vector<Pair> fields;
    };

    explicit ViewManager(FileManager& primary, RelationKeeper* keeper = nullptr);
    ~ViewManager();
    ViewManager(const ViewManager&) = delete;
    ViewManager& operator=(const ViewManager&) = delete;

    // PRIMARY
    FileManager& primary() const { return primary_; }
    RelationKeeper* keeper() const { return keeper_; }
    const TableDef& table() const { return primary_.table(); }
    const TableSchema& layout() const { return layout_; }

    void AddJoin(Join join);
    const std::vector<Join>& joins() const { return joins_; }
    // Clears the joined tables' record buffers.
    void ClearJoined();
    // Reads the joined tables' records for the record in the primary buffer.
    void ReadJoins();

    // OPENED. Open gives 0 or the level result of the failed open (reported).
    Level Open();
    void Close();
    bool opened() const { return opened_; }

    // ORDER: a key of the primary table or kFileOrder; a descending view reads it backward.
    void SetOrder(int key, bool descending = false);
    int order() const { return key_; }
    bool descending() const { return descending_; }
    // Components of the order's key (0 for file order).
    int components() const;

    // Sets the filter (empty text: none). Text longer than kMaxViewFilterLength, text that cannot
    // be read and unknown names are refused: message 40 is raised with the reason as the
    // runtime error, the view works without a filter, and the level result is returned; else 0.
    Level SetFilter(std::string_view text);
    // The filter in force ("" when there is none or it was refused).
    const std::string& filter() const;

    // Places reading.
    void SetToStart();
    void SetToEnd();
    // At the first `components` values of the order's key as they stand in the primary buffer.
    void SetToBuffer(int components);
    // At a record's position (as Position gave it); not `inclusive`: Next reads the record after
    // it and Previous the one before it.
    void SetTo(const DriverPosition& position, bool inclusive = true);
    ViewRead Next();
    ViewRead Previous();
    // The position of the record read last, and its row alone.
    const DriverPosition& Position() const;
    std::int64_t PositionRow() const;
    // The position in this view's order of a record of the primary table stored at `row`.
    DriverPosition PositionOf(const void* record, std::int64_t row) const;
    // The position in this view's order of the record in the primary buffer that the table
    // read or wrote last (as a form leaves it).
    DriverPosition PositionOfBuffer() const;
    // Reads the record at `position` again into the buffers and makes it the table's current
    // record, for a form that changes or deletes it: 0; kLevelNotify when it is no longer
    // there (nothing reported); the level result of a failed read (reported).
    Level Reget(const DriverPosition& position);

    // PAGESIZE: how many records the caller reads at a time (a hint for reading ahead).
    void SetReadAhead(int rows);
    void SetQuickScan(bool on);
    // Forgets records read ahead, so that the next read sees the tables as they are now.
    void Flush();

  private:
    bool ready();
    bool accept(bool sqlApplied);
    void place(ViewPlace place);
    ViewRead step(bool forward);
    Level refuseFilter(const std::string& reason);

    FileManager& primary_;
    RelationKeeper* keeper_;
    TableSchema layout_;
    std::vector<Join> joins_;
    bool opened_ = false;
    int key_ = kFileOrder;
    bool descending_ = false;
    std::unique_ptr<ViewFilter> filter_;
    std::unique_ptr<ViewReader> reader_;
    ViewSqlReader* sqlReader_ = nullptr;  // reader_ when it reads with SQL
    ViewPlace place_;
    int readAhead_ = 32;
    bool quickScan_ = false;
};

}  // namespace dv
