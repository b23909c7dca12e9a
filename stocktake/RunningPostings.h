#pragma once

#include "stocktake/StocktakePosting.h"

namespace dv {

// The stocktakes whose posting runs at the moment, so that a second posting of the same
// stocktake is refused while the first has not ended.
bool postingRuns(const StocktakeKey& key);

// Marks a stocktake's posting as running for the object's life; claimed() is false when it ran
// already (the object then marks nothing).
class RunningPosting {
  public:
    explicit RunningPosting(StocktakeKey key);
    ~RunningPosting();
    RunningPosting(const RunningPosting&) = delete;
    RunningPosting& operator=(const RunningPosting&) = delete;

    bool claimed() const { return claimed_; }

  private:
    StocktakeKey key_;
    bool claimed_;
};

}  // namespace dv
