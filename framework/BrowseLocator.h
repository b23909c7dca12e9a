#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "runtime/EventKey.h"

namespace dv {

// How typing in a list finds a record (LOCATOR).
enum class LocatorKind : std::uint8_t {
    None,
    Incremental,  // each key extends a search text; the list moves to the first record at or
                  // after it
    Entry,        // typing goes to an entry field; accepting it moves the list
    Step,         // a character moves to the first record that begins with it, or one row on
};

// The most characters of an incremental locator's search text.
inline constexpr std::size_t kMaxLocatorText = 39;

// The locator of one sort order: its kind, the control that shows (or takes) its text, and the
// search text typed so far.
class BrowseLocator {
  public:
    BrowseLocator() = default;
    BrowseLocator(LocatorKind kind, std::string control)
        : kind_(kind), control_(std::move(control)) {}

    LocatorKind kind() const { return kind_; }
    const std::string& control() const { return control_; }
    const std::string& text() const { return text_; }

    // Adds a character (UTF-8); false when the text is full.
    bool add(std::string_view character);
    // Removes the last character; false when there was none.
    bool removeLast();
    void clear() { text_.clear(); }
    void set(std::string text) { text_ = std::move(text); }

  private:
    LocatorKind kind_ = LocatorKind::None;
    std::string control_;
    std::string text_;
};

// The character a key types in a list: a letter (upper case with Shift), a digit, or the blank
// of the Space key; nothing for other keys.
std::optional<char> typedCharacter(KeyCode key);

}  // namespace dv
