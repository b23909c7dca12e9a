#pragma once

#include <functional>
#include <vector>

#include "runtime/Control.h"
#include "storage/ViewManager.h"

namespace dv {

// One row of a browse list's page: the row its record is stored at, a copy of the record as
// read, and its cells as the list shows them.
struct BrowseRow {
    std::int64_t row;
    std::vector<unsigned char> record;
    ListRow cells;
};

// The page of a browse list (LISTQUEUE): as many rows of the view as the list shows
// (ITEMSTOFILL), read around a place, moved by rows and pages. Reading goes through the view,
// so each row's record passes through the primary buffer, where `cells` formats it.
//
// A page is always as full as the view allows: when the end of the view comes before the page
// is full, it is completed with the records before.
class BrowsePage {
  public:
    using CellMaker = std::function<ListRow()>;

    BrowsePage(ViewManager& view, CellMaker cells);

    // ITEMSTOFILL; 0 holds the whole view (FILELOADED).
    void setCapacity(int rows) { capacity_ = rows; }
    int capacity() const;
    const std::vector<BrowseRow>& rows() const { return rows_; }
    int size() const { return static_cast<int>(rows_.size()); }
    // Where the record of row `index` (from 0) stands in the view.
    DriverPosition position(int index) const;
    bool empty() const { return rows_.empty(); }
    // Whether the first row is the first of the view and the last row its last, as far as the
    // reading so far has shown.
    bool atTop() const { return atTop_; }
    bool atBottom() const { return atBottom_; }
    // A read failed (reported) during the last operation.
    bool failed() const { return failed_; }

    // Fills the page with the record at or after the place `place` sets, shown at `screenRow`
    // (from 0) when there are records enough before it; the index of that row, or the last row
    // when the place lies after the end, or -1 for an empty view.
    int fill(const std::function<void(ViewManager&)>& place, int screenRow);
    int fillFromStart();
    int fillFromEnd();
    // One row further or back: true when there was one (the page moves by a row).
    bool scroll(bool down);
    // A page further or back: how many rows the page moved (the rows it dropped at its top
    // going down, the rows it took in at its top going up).
    int page(bool down);
    // Takes a row out (its record was deleted).
    void remove(int index);

  private:
    struct Reading {
        std::vector<BrowseRow> rows;
        bool reachedEnd = false;
    };
    struct Move {
        int read = 0;
        int shifted = 0;
    };

    Reading read(bool forward, int count);
    Move move(bool down, int count);
    BrowseRow row();

    ViewManager& view_;
    CellMaker cells_;
    int capacity_ = 10;
    std::vector<BrowseRow> rows_;
    bool atTop_ = false;
    bool atBottom_ = false;
    bool failed_ = false;
};

}  // namespace dv
