#pragma once

#include "storage/FileManager.h"
#include "storage/TableSchema.h"
#include "storage/ViewReader.h"

namespace dv {

// Reads a view through the table's own driver (a table the database does not hold, such as the
// terminal's capture file): records come in the order's sequence and the acceptor tests the
// whole filter on each.
class ViewDriverReader final : public ViewReader {
  public:
    ViewDriverReader(FileManager& file, const TableSchema& layout, ViewAcceptor accept);

    void place(int key, const ViewPlace& place) override;
    ViewRead step(bool forward) override;
    const DriverPosition& position() const override { return current_; }
    std::int64_t row() const override { return current_.row; }
    void flush() override {}
    void setReadAhead(int) override {}
    void setQuickScan(bool on) override;

  private:
    FileManager& file_;
    const TableSchema& layout_;
    ViewAcceptor accept_;
    DriverPosition current_;
    std::int64_t skip_ = 0;  // the row of an exclusive place, left out when it comes first
};

}  // namespace dv
