#pragma once

#include <concepts>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>

#include "runtime/Decimal.h"
#include "runtime/FixedDecimal.h"
#include "runtime/FixedText.h"

namespace dv {

// Reading one entry of a settings file into a program-wide variable of its own type, with the
// default the program gives it. `Source` is anything that reads entries as SettingsManager and
// IniFile do (readText and readNumber with a default).
//
// A number that does not fit the variable (70000 for a 16-bit unit) reads as 0, as an entry that
// holds no number does, rather than wrapping round to some other unit.

template <std::integral T>
bool fitsInteger(std::int64_t value) {
    if constexpr (std::is_signed_v<T>)
        return value >= std::numeric_limits<T>::min() && value <= std::numeric_limits<T>::max();
    else
        return value >= 0 && static_cast<std::uint64_t>(value) <= std::numeric_limits<T>::max();
}

template <typename Source, std::integral T>
void readSetting(const Source& source, std::string_view section, std::string_view entry,
                 std::int64_t defaultValue, T& target) {
    const std::int64_t value = source.readNumber(section, entry, defaultValue);
    target = fitsInteger<T>(value) ? static_cast<T>(value) : T{};
}

template <typename Source, std::size_t N>
void readSetting(const Source& source, std::string_view section, std::string_view entry,
                 std::string_view defaultValue, FixedText<N>& target) {
    target = source.readText(section, entry, defaultValue);
}

// A decimal is written as users write it ("12.5" or "12,50"); a value that is no number or does
// not fit the variable's digits reads as 0.
template <typename Source, int Digits, int Places>
void readSetting(const Source& source, std::string_view section, std::string_view entry,
                 std::string_view defaultValue, FixedDecimal<Digits, Places>& target) {
    const auto value = Decimal::parse(source.readText(section, entry, defaultValue));
    if (!value || !target.assign(*value)) target.setUnits(0);
}

}  // namespace dv
