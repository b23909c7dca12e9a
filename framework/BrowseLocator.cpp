#include "framework/BrowseLocator.h"

namespace dv {
namespace {

bool continuesCharacter(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

std::size_t characters(std::string_view text) {
    std::size_t count = 0;
    for (const char c : text)
        if (!continuesCharacter(c)) ++count;
    return count;
}

}  // namespace

bool BrowseLocator::add(std::string_view character) {
    if (character.empty() || characters(text_) >= kMaxLocatorText) return false;
    text_ += character;
    return true;
}

bool BrowseLocator::removeLast() {
    if (text_.empty()) return false;
    std::size_t end = text_.size() - 1;
    while (end > 0 && continuesCharacter(text_[end])) --end;
    text_.erase(end);
    return true;
}

std::optional<char> typedCharacter(KeyCode key) {
    if (key == keys::Space) return ' ';
    const bool shift = (key & keys::kShift) != 0;
    if ((key & (keys::kCtrl | keys::kAlt)) != 0) return std::nullopt;
    const int code = key & 0xFF;
    if (code >= '0' && code <= '9' && !shift) return static_cast<char>(code);
    if (code >= 'A' && code <= 'Z') return static_cast<char>(shift ? code : code - 'A' + 'a');
    return std::nullopt;
}

}  // namespace dv
