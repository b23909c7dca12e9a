#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace dv {

// Whether a tax number's check digit is right: the number written with 13 digits (leading
// zeros), S = 13·d1 + 12·d2 + ... + 2·d12, r = S mod 11, the check digit 11 − r, 0 when that is
// 10 or 11, must be d13. A text that is not a number of up to 13 digits is not right either.
bool taxNumberValid(std::string_view text);

// The tax number's value as a partner code; nothing for a blank text, one that is not a number
// or one too large for a code.
std::optional<std::uint32_t> taxNumberValue(std::string_view text);

}  // namespace dv
