#pragma once

#include "framework/BatchRecordSource.h"
#include "storage/ViewManager.h"

namespace dv {

// The records of a view (its order and filter, its joined tables read for each record): the
// record source of a report over part of a table, such as the lines of one item in one unit.
// The view must have been opened, ordered and filtered by the procedure. A filtered view
// cannot tell how many records it holds, so progress is shown without a count.
class ViewRecordSource final : public RecordSource {
  public:
    explicit ViewRecordSource(ViewManager& view) : view_(view) {}

    Level restart() override {
        view_.SetToStart();
        return kLevelBenign;
    }
    ReadResult next() override {
        switch (view_.Next()) {
            case ViewRead::Record:
                return ReadResult::Record;
            case ViewRead::End:
                return ReadResult::End;
            case ViewRead::Failed:
                break;
        }
        return ReadResult::Failed;
    }
    std::int64_t records() override { return 0; }
    void setQuickScan(bool on) override { view_.SetQuickScan(on); }

  private:
    ViewManager& view_;
};

}  // namespace dv
