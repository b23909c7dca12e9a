#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace dv {

// A key as the windows see it: the key's virtual code in the low byte, plus kShift, kCtrl and
// kAlt for the modifiers held. Ctrl + the apostrophe key is 734, the history ("ditto") key of
// the forms.
using KeyCode = int;

namespace keys {
inline constexpr KeyCode kShift = 0x100;
inline constexpr KeyCode kCtrl = 0x200;
inline constexpr KeyCode kAlt = 0x400;

inline constexpr KeyCode Backspace = 8;
inline constexpr KeyCode Tab = 9;
inline constexpr KeyCode Enter = 13;
inline constexpr KeyCode Esc = 27;
inline constexpr KeyCode Space = 32;
inline constexpr KeyCode PgUp = 33;
inline constexpr KeyCode PgDn = 34;
inline constexpr KeyCode End = 35;
inline constexpr KeyCode Home = 36;
inline constexpr KeyCode Left = 37;
inline constexpr KeyCode Up = 38;
inline constexpr KeyCode Right = 39;
inline constexpr KeyCode Down = 40;
inline constexpr KeyCode Insert = 45;
inline constexpr KeyCode Delete = 46;
inline constexpr KeyCode F1 = 112;  // F1..F12 are 112..123
inline constexpr KeyCode Apostrophe = 222;

inline constexpr KeyCode F(int n) {
    return F1 + n - 1;
}
inline constexpr KeyCode Letter(char upper) {
    return upper;
}  // 'A'..'Z', '0'..'9'

inline constexpr KeyCode ShiftTab = kShift + Tab;
inline constexpr KeyCode CtrlEnter = kCtrl + Enter;
inline constexpr KeyCode ShiftEnter = kShift + Enter;
inline constexpr KeyCode CtrlApostrophe = kCtrl + Apostrophe;  // 734
}  // namespace keys

// The key a name gives: "Enter", "Tab", "Esc", "F1".."F12", "Insert", "Delete", "Up", "Down",
// "PgUp", "PgDn", "Home", "End", "Space", "Backspace", "Left", "Right", a letter or digit, "'",
// with any of "Ctrl+", "Shift+", "Alt+" in front ("Ctrl+Enter", "Ctrl+'"). Letter case of the
// names is ignored. Nothing for an unknown name.
std::optional<KeyCode> keyFromName(std::string_view name);
// The name of a key, as keyFromName reads it.
std::string keyName(KeyCode key);

}  // namespace dv
