#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "framework/BatchProcess.h"
#include "framework/BatchRecordSource.h"

namespace dv::test {

// Records held in memory: each has a key value and a size in bytes. The count it tells, its
// byte total and failures can be set apart from the records themselves, to stand for drivers
// that cannot count or views that change while they are read.
class MemoryRecordSource : public RecordSource {
  public:
    std::vector<KeyValue> keys;             // one per record, in reading order
    std::int64_t recordSize = 10;           // bytes of each record
    std::optional<std::int64_t> toldCount;  // the count told; default: the records held
    std::optional<std::int64_t> toldBytes;  // the size told; default: all records
    bool withKey = false;                   // tells its key range and values
    Level failRestart = kLevelBenign;       // the level result of restart
    int failAt = -1;                        // the read (from 0) that fails
    bool quickScan = false;
    std::vector<bool> quickScanCalls;
    int restarts = 0;
    std::int64_t at = 0;              // records read since the restart
    std::int64_t* current = nullptr;  // receives the index of each record read

    Level restart() override {
        ++restarts;
        at = 0;
        return failRestart;
    }
    ReadResult next() override {
        if (failAt >= 0 && at == failAt) return ReadResult::Failed;
        if (at >= static_cast<std::int64_t>(keys.size())) return ReadResult::End;
        if (current != nullptr) *current = at;
        ++at;
        return ReadResult::Record;
    }
    std::int64_t records() override {
        return toldCount ? *toldCount : static_cast<std::int64_t>(keys.size());
    }
    std::int64_t bytes() override {
        return toldBytes ? *toldBytes : static_cast<std::int64_t>(keys.size()) * recordSize;
    }
    std::int64_t bytesRead() override { return at * recordSize; }
    std::optional<KeyValueRange> keyRange() override {
        if (!withKey || keys.empty()) return std::nullopt;
        return KeyValueRange{keys.front(), keys.back()};
    }
    std::optional<KeyValue> currentKeyValue() override {
        if (!withKey || at == 0) return std::nullopt;
        return keys[static_cast<std::size_t>(at - 1)];
    }
    void setQuickScan(bool on) override {
        quickScan = on;
        quickScanCalls.push_back(on);
    }
};

// n records with the numbers 1..n as keys.
inline MemoryRecordSource numberedRecords(int n) {
    MemoryRecordSource source;
    for (int i = 1; i <= n; ++i) source.keys.emplace_back(std::int64_t{i});
    return source;
}

// Every percentage and text a pass shows, in order.
class ProgressLog : public ProgressDisplay {
  public:
    std::vector<int> percents;
    std::vector<std::string> texts;
    void showProgress(int percent, const std::string& text) override {
        percents.push_back(percent);
        texts.push_back(text);
    }
};

}  // namespace dv::test
