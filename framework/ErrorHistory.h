#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>
#include <string_view>

namespace dv {

// One recorded message.
struct HistoryEntry {
    std::string category;
    std::string text;  // after substitution, at most kMaxHistoryTextLength characters
    std::uint16_t id = 0;
};

inline constexpr std::size_t kMaxHistoryTextLength = 1023;

// The recent messages, oldest first. The threshold says how many are kept: 0 none (history
// off), more than 0 at most that many, less than 0 all.
class ErrorHistory {
  public:
    std::int32_t threshold() const { return threshold_; }
    void setThreshold(std::int32_t threshold) { threshold_ = threshold; }
    bool enabled() const { return threshold_ != 0; }

    // Drops the oldest entries to make room, then records the message (its text cut to
    // kMaxHistoryTextLength characters). Does nothing while the history is off.
    void record(std::uint16_t id, std::string_view category, std::string_view text);

    const std::deque<HistoryEntry>& entries() const { return entries_; }
    void clear() { entries_.clear(); }

  private:
    std::int32_t threshold_ = 0;
    std::deque<HistoryEntry> entries_;
};

}  // namespace dv
