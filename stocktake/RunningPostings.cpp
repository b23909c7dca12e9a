#include "stocktake/RunningPostings.h"

#include <algorithm>
#include <mutex>
#include <vector>

namespace dv {
namespace {

std::mutex& runningMutex() {
    static std::mutex mutex;
    return mutex;
}

std::vector<StocktakeKey>& running() {
    static std::vector<StocktakeKey> keys;
    return keys;
}

}  // namespace

bool postingRuns(const StocktakeKey& key) {
    const std::lock_guard lock(runningMutex());
    return std::ranges::find(running(), key) != running().end();
}

RunningPosting::RunningPosting(StocktakeKey key) : key_(std::move(key)) {
    const std::lock_guard lock(runningMutex());
    claimed_ = std::ranges::find(running(), key_) == running().end();
    if (claimed_) running().push_back(key_);
}

RunningPosting::~RunningPosting() {
    if (!claimed_) return;
    const std::lock_guard lock(runningMutex());
    std::erase(running(), key_);
}

}  // namespace dv
