#pragma once

#include "framework/BatchRecordSource.h"
#include "storage/ViewManager.h"

namespace dv {

// The records of a view (its order and filter) as the records a pass walks: a report over part
// of a table. The view must be open; its records cannot be counted in advance, so progress is
// shown as the view gives it.
class ViewRecordSource final : public RecordSource {
  public:
    explicit ViewRecordSource(ViewManager& view) : view_(view) {}

    Level restart() override {
        view_.SetToStart();
        return kLevelBenign;
    }
    ReadResult next() override;
    std::int64_t records() override { return 0; }
    void setQuickScan(bool on) override { view_.SetQuickScan(on); }

  private:
    ViewManager& view_;
};

}  // namespace dv
