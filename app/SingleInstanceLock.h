#pragma once

#include <filesystem>
#include <string_view>

namespace dv {

// The name of the lock file in the program directory.
inline constexpr std::string_view kInstanceLockFile = "dideroviv.lock";

// One program at a time on a program directory: an exclusive lock on the lock file there, held
// while the object lives (and by the process, not by a file on disk: a lock file left behind by a
// program that ended holds nothing). Programs it starts do not inherit the lock.
//
// When the lock file cannot be made at all (a directory that may not be written), the program
// is not refused: the guard is an aid, and such a directory refuses the data first.
class SingleInstanceLock {
  public:
    explicit SingleInstanceLock(const std::filesystem::path& programDirectory);
    ~SingleInstanceLock();
    SingleInstanceLock(const SingleInstanceLock&) = delete;
    SingleInstanceLock& operator=(const SingleInstanceLock&) = delete;

    // Whether another process holds the lock: another instance runs on the same directory.
    bool anotherInstanceRuns() const { return heldElsewhere_; }

  private:
    int descriptor_ = -1;
    bool heldElsewhere_ = false;
};

}  // namespace dv
