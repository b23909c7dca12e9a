#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "runtime/MessageRaiser.h"
#include "runtime/MessageTable.h"

namespace dv {

// Level results of a question.
inline constexpr Level kAnswerYes = Level::Benign;
inline constexpr Level kAnswerNo = Level::Cancel;

// The id that stands for "every message" where a category is assigned (-1 as signed 16 bits).
inline constexpr std::uint16_t kAnyMessageId = 65535;

// One row of the message table.
struct MessageEntry {
    std::uint16_t id = 0;
    MessageLevel level = MsgNotify;
    std::string title;
    std::string text;
    std::string category;
};

// The message table in the order the messages were added. A message is selected by the last entry
// with its id, so a message added later overrides an earlier one with the same id.
class ErrorMessages {
  public:
    void add(MessageEntry entry);
    void add(std::vector<MessageEntry> entries);

    // Position of the selected entry of `id`, or npos.
    std::size_t select(std::uint16_t id) const;
    // Position of the nearest entry before `position` with the same id, or npos.
    std::size_t previous(std::size_t position) const;

    const MessageEntry& at(std::size_t position) const { return entries_.at(position); }
    MessageEntry& at(std::size_t position) { return entries_.at(position); }
    std::size_t size() const { return entries_.size(); }

    static constexpr std::size_t npos = static_cast<std::size_t>(-1);

  private:
    std::size_t lastBefore(std::size_t end, std::uint16_t id) const;

    std::vector<MessageEntry> entries_;
};

}  // namespace dv
