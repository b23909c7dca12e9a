#include "framework/ErrorHistory.h"

#include "framework/ErrorText.h"

namespace dv {

void ErrorHistory::record(std::uint16_t id, std::string_view category, std::string_view text) {
    if (!enabled()) return;
    if (threshold_ > 0)
        while (entries_.size() >= static_cast<std::size_t>(threshold_)) entries_.pop_front();
    entries_.push_back(HistoryEntry{std::string(category),
                                    std::string(firstCharacters(text, kMaxHistoryTextLength)), id});
}

}  // namespace dv
