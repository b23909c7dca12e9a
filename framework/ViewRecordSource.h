#pragma once

#include "framework/BatchRecordSource.h"
#include "storage/ViewManager.h"

namespace dv {

// The records of a view (its order, filter and joins) as a batch pass reads them, from the start
// of the order or, with a fixed prefix, from the records whose first `components` key values
// stand in the primary buffer when the pass restarts, as long as they keep those values. The
// view must be open.
class ViewRecordSource final : public RecordSource {
  public:
    explicit ViewRecordSource(ViewManager& view) : view_(view) {}

    // Limits the pass to the records whose first `components` values of the order's key equal
    // those in the primary buffer at restart.
    void SetRange(int components) { components_ = components; }

    Level restart() override;
    ReadResult next() override;
    // Not told in advance: a filtered view is counted only by reading it.
    std::int64_t records() override { return 0; }
    void setQuickScan(bool on) override { view_.SetQuickScan(on); }

  private:
    bool inRange() const;

    ViewManager& view_;
    int components_ = 0;
    std::vector<KeyValue> prefix_;
};

}  // namespace dv
