#pragma once

#include <cstdint>
#include <string>

#include "storage/FileManager.h"
#include "storage/KeysetCursor.h"
#include "storage/SqlConnection.h"
#include "storage/TableSql.h"
#include "storage/ViewFilter.h"
#include "storage/ViewReader.h"

namespace dv {

// Reads a view of a database table with a KeysetCursor of its own: the filter's SQL part, the
// seek from the place and the order go to the database in one select, which returns as many
// rows as the caller asked for (then twice as many each time, up to a limit). The acceptor tests
// the rest of the filter on each row; the rows it refuses are passed over, and a turn round goes
// on from the record handed out last. Rows read ahead are dropped when the table changes
// through this connection, so every read after a change sees it.
class ViewSqlReader final : public ViewReader {
  public:
    // `schema` names the attached database that holds the table.
    ViewSqlReader(FileManager& file, SqlConnection& db, const TableSchema& layout,
                  const std::string& schema, ViewAcceptor accept);

    // The filter whose SQL part the selects carry (nullptr: none); it must outlive its use.
    // When the database refuses that part (a select with it cannot be prepared) the selects go
    // without it: false, and the acceptor must test the whole filter.
    bool setFilter(const ViewFilter* filter) { return cursor_.setCondition(filter); }
    // Whether the selects carry the filter's SQL part.
    bool conditionApplied() const { return cursor_.condition() != nullptr; }

    void place(int key, const ViewPlace& place) override;
    ViewRead step(bool forward) override;
    const DriverPosition& position() const override;
    std::int64_t row() const override { return cursor_.keptRow(); }
    void flush() override { cursor_.flush(); }
    void setReadAhead(int rows) override;
    void setQuickScan(bool on) override { cursor_.setQuickScan(on); }

  private:
    void report(const DriverError& error);

    FileManager& file_;
    const TableSchema& layout_;
    TableSql sql_;
    ViewAcceptor accept_;
    KeysetCursor cursor_;
    // The position of the record handed out last, worked out when asked for.
    mutable DriverPosition current_;
    mutable bool currentKnown_ = true;
};

}  // namespace dv
