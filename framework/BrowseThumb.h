#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "runtime/Decimal.h"

namespace dv {

// How dragging a list's scroll thumb maps to the free key component of its order (THUMB).
enum class ThumbStyle : std::uint8_t {
    None,           // no table: page up or down (or, for a list held whole, the row)
    Numeric,        // a number between the first and the last value of the component
    Names,          // three-letter prefixes as names spread over the alphabet
    Alpha,          // two-letter prefixes: each letter followed by blank, F, N and T
    Letters,        // one character of the letters
    UpperCase,      // one character of the digits and upper-case letters
    AllCharacters,  // one character of all printable characters but punctuation and blank
};

// The prefixes of a text thumb table in order (empty for None and Numeric).
const std::vector<std::string>& thumbTable(ThumbStyle style);
// The prefix a text thumb at `percent` (0..100) stands for.
std::string thumbText(ThumbStyle style, int percent);
// The number a numeric thumb at `percent` stands for, interpolated between the first and the
// last value.
Decimal thumbNumber(const Decimal& first, const Decimal& last, int percent);

}  // namespace dv
