#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "storage/FileManager.h"
#include "storage/RowPage.h"
#include "storage/SqliteDatabase.h"
#include "storage/TableSql.h"
#include "storage/ViewFilter.h"
#include "storage/ViewReader.h"

namespace dv {

// Reads a view of a database table with statements of its own: the filter's SQL part, the seek
// from the place and the order go to the database in one select, which returns as many rows as
// the caller asked for (then twice as many each time, up to a limit). Rows are read into a page
// of record images and handed out one by one; the acceptor tests the rest of the filter. Pages
// are dropped when the table changes through this connection, so every read after a change
// sees it.
//
// A place at values is sought as the table driver seeks it, one index range at a time: the
// rows equal in every value but the last and at or after the last, then those equal in fewer
// leading values and after the place in the next one, the longest common prefix first.
class ViewSqlReader final : public ViewReader {
  public:
    // `schema` names the attached database that holds the table.
    ViewSqlReader(FileManager& file, SqliteDatabase& db, const TableSchema& layout,
                  const std::string& schema, ViewAcceptor accept);

    // The filter whose SQL part the selects carry (nullptr: none); it must outlive its use.
    // When the database refuses that part (a select with it cannot be prepared) the selects go
    // without it: false, and the acceptor must test the whole filter.
    bool setFilter(const ViewFilter* filter);
    // Whether the selects carry the filter's SQL part.
    bool conditionApplied() const { return filter_ != nullptr; }

    void place(int key, const ViewPlace& place) override;
    ViewRead step(bool forward) override;
    const DriverPosition& position() const override;
    std::int64_t row() const override { return currentRow_; }
    void flush() override;
    void setReadAhead(int rows) override;
    void setQuickScan(bool on) override;

  private:
    std::uint64_t changeCount() const { return *changes_ + db_.rollbacks(); }
    std::vector<KeyValue> rowValues(std::int64_t row, const void* image) const;
    ViewPlace anchorFor(bool forward) const;
    ViewRead refill(bool forward);
    bool fetch(int equal, int after, bool orEqual, bool forward,
               const std::vector<KeyValue>& values, std::int64_t limit);
    SqlStatement* select(int equal, int after, bool orEqual, bool forward, DriverError& error);
    bool report(const DriverError& error);

    FileManager& file_;
    SqliteDatabase& db_;
    const TableSchema& layout_;
    TableSql sql_;
    ViewAcceptor accept_;
    const ViewFilter* filter_ = nullptr;
    std::uint64_t* changes_;
    std::unordered_map<std::uint32_t, SqlStatement*> selects_;

    int key_ = kFileOrder;
    ViewPlace start_;  // the place set last
    RowPage page_;
    bool pageForward_ = true;  // the direction of the page
    std::int64_t firstRows_ = 32;
    std::int64_t rows_ = 32;
    std::int64_t quickScanRows_ = 0;
    // The row taken from the page last (accepted or not), while the page lives.
    std::optional<RowPage::Entry> examined_;
    // The record handed out last: its row and a copy of it, its position worked out when asked.
    std::int64_t currentRow_ = 0;
    std::vector<unsigned char> currentImage_;
    mutable DriverPosition current_;
    mutable bool currentKnown_ = true;
};

}  // namespace dv
