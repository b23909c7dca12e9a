#include "framework/ErrorMessages.h"

#include <utility>

namespace dv {

void ErrorMessages::add(MessageEntry entry) {
    entries_.push_back(std::move(entry));
}

void ErrorMessages::add(std::vector<MessageEntry> entries) {
    entries_.reserve(entries_.size() + entries.size());
    for (auto& entry : entries) entries_.push_back(std::move(entry));
}

std::size_t ErrorMessages::select(std::uint16_t id) const {
    return lastBefore(entries_.size(), id);
}

std::size_t ErrorMessages::previous(std::size_t position) const {
    if (position >= entries_.size()) return npos;
    return lastBefore(position, entries_[position].id);
}

std::size_t ErrorMessages::lastBefore(std::size_t end, std::uint16_t id) const {
    for (std::size_t i = end; i-- > 0;)
        if (entries_[i].id == id) return i;
    return npos;
}

}  // namespace dv
