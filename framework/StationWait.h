#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "storage/StationLock.h"

namespace dv {

// One attempt at a lock: Taken, Busy (with the holders filled in) or Failed.
using LockAttempt = std::function<LockOutcome(std::vector<LockHolder>& holders)>;

// Makes `attempt` until it no longer answers Busy, showing meanwhile the progress window of the
// procedure `layout` under the caption " ČAKANJE NA DRUGO POSTAJO", with `describe(holders)` as
// its progress text; the user's Cancel (or closing the window) gives up, and the result is then
// Busy. The first attempt is made before any window opens, so a lock that is free is taken
// without one.
LockOutcome waitForLock(std::string_view layout, const LockAttempt& attempt,
                        const std::function<std::string(const std::vector<LockHolder>&)>& describe);

}  // namespace dv
