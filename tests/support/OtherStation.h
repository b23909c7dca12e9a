#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "storage/PostgresDatabase.h"
#include "storage/StationLock.h"
#include "support/TestEngine.h"

namespace dv::test {

// Another station on the test cluster: a connection of its own under the station's name, which
// takes the program's locks as a program on that station does.
class OtherStation {
  public:
    explicit OtherStation(std::string name) : db_(testServerConnection(), std::move(name)) {
        EXPECT_EQ(db_.startError(), "");
    }
    ~OtherStation() {
        if (releaser_.joinable()) releaser_.join();
    }
    OtherStation(const OtherStation&) = delete;
    OtherStation& operator=(const OtherStation&) = delete;

    void hold(LockName name, bool shared, StationWork work) {
        StationLock& lock = locks_.emplace_back();
        ASSERT_EQ(lock.tryTake(db_, name, shared, work), LockOutcome::Taken) << lock.error().text;
    }
    void release() { locks_.clear(); }
    // After `delay`, on a thread of its own: `before`, then the lock released.
    void releaseLater(std::chrono::milliseconds delay, std::function<void()> before) {
        releaser_ = std::thread([this, delay, before = std::move(before)] {
            std::this_thread::sleep_for(delay);
            before();
            release();
        });
    }
    void join() {
        if (releaser_.joinable()) releaser_.join();
    }
    PostgresDatabase& db() { return db_; }

  private:
    PostgresDatabase db_;
    std::vector<StationLock> locks_;
    std::thread releaser_;
};

}  // namespace dv::test
