#pragma once

#include <string>
#include <string_view>

#include "stocktake/StocktakePosting.h"
#include "storage/StationLock.h"

namespace dv {

// What several stations on one server database may do with one stocktake at once: counts and
// imports share it; a template preparation, re-preparation or posting has it alone. On the
// embedded database every lock is taken at once.

// The lock of one stocktake.
LockName stocktakeLock(const StocktakeKey& key);

// For a count or an import: false, the user told which station has the stocktake and what it
// does, when another station's batch holds it.
bool shareStocktake(StationLock& lock, const StocktakeKey& key, StationWork work,
                    std::string_view refused);

// For a batch: waits (in the progress window of the procedure `layout`, which the user may
// cancel) while other stations count or import; refused, the user told, while another station's
// batch holds it. False when not taken.
bool takeStocktakeForBatch(StationLock& lock, const StocktakeKey& key, StationWork work,
                           std::string_view layout);

// The imports of capture files one at a time, so that each one's archive records and counters
// follow the last one's; waits (cancellable) while another station imports. False when not taken.
bool takeImportTurn(StationLock& lock, const StocktakeKey& key, std::string_view layout);

// The numbering of `table` for the transaction that runs; waits (cancellable) while another
// station's transaction numbers it. False, the user told, when not taken.
bool takeNumbering(const std::string& table, std::string_view layout);

}  // namespace dv
