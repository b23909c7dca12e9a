#include "runtime/EventKey.h"

#include <array>
#include <utility>

#include "runtime/TextCase.h"

namespace dv {
namespace {

constexpr std::array<std::pair<std::string_view, KeyCode>, 17> kNamedKeys{{
    {"Backspace", keys::Backspace},
    {"Tab", keys::Tab},
    {"Enter", keys::Enter},
    {"Esc", keys::Esc},
    {"Space", keys::Space},
    {"PgUp", keys::PgUp},
    {"PgDn", keys::PgDn},
    {"End", keys::End},
    {"Home", keys::Home},
    {"Left", keys::Left},
    {"Up", keys::Up},
    {"Right", keys::Right},
    {"Down", keys::Down},
    {"Insert", keys::Insert},
    {"Delete", keys::Delete},
    {"'", keys::Apostrophe},
    {"Escape", keys::Esc},
}};

constexpr std::array<std::pair<std::string_view, KeyCode>, 3> kModifiers{
    {{"Ctrl+", keys::kCtrl}, {"Shift+", keys::kShift}, {"Alt+", keys::kAlt}}};

std::optional<KeyCode> baseKey(std::string_view name) {
    for (const auto& [n, code] : kNamedKeys)
        if (equalsIgnoreCaseAscii(n, name)) return code;
    if (name.size() == 1) {
        const char c = name[0];
        if (c >= 'a' && c <= 'z') return keys::Letter(static_cast<char>(c - 'a' + 'A'));
        if ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) return keys::Letter(c);
        return std::nullopt;
    }
    if (name.size() >= 2 && (name[0] == 'F' || name[0] == 'f')) {
        int n = 0;
        for (char c : name.substr(1)) {
            if (c < '0' || c > '9') return std::nullopt;
            n = n * 10 + (c - '0');
            if (n > 12) return std::nullopt;
        }
        if (n >= 1 && name[1] != '0') return keys::F(n);
    }
    return std::nullopt;
}

}  // namespace

std::optional<KeyCode> keyFromName(std::string_view name) {
    KeyCode modifiers = 0;
    bool found = true;
    while (found && name.size() > 1) {
        found = false;
        for (const auto& [prefix, bit] : kModifiers) {
            if (name.size() > prefix.size() &&
                equalsIgnoreCaseAscii(name.substr(0, prefix.size()), prefix) &&
                (modifiers & bit) == 0) {
                modifiers |= bit;
                name.remove_prefix(prefix.size());
                found = true;
            }
        }
    }
    auto key = baseKey(name);
    if (!key) return std::nullopt;
    return modifiers | *key;
}

std::string keyName(KeyCode key) {
    std::string name;
    for (const auto& [prefix, bit] : kModifiers)
        if (key & bit) name += prefix;
    const KeyCode base = key & 0xFF;
    for (const auto& [n, code] : kNamedKeys)
        if (code == base) return name + std::string(n);
    if (base >= keys::F(1) && base <= keys::F(12)) return name + "F" + std::to_string(base - 111);
    if ((base >= 'A' && base <= 'Z') || (base >= '0' && base <= '9'))
        return name + static_cast<char>(base);
    return name + "#" + std::to_string(base);
}

}  // namespace dv
