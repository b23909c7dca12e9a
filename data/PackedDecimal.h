#pragma once

#include <cstdint>
#include <optional>
#include <span>

namespace dv {

// Packed decimal (BCD) as the record image holds decimal fields: b bytes carry 2b-1 digits, two
// per byte from the most significant, and the sign in the low nibble of the last byte. Written:
// 0xC for zero and positive values, 0xD for negative ones. Read: 0xA, 0xC, 0xE, 0xF positive,
// 0xB, 0xD negative.

// Writes `units` (the value in units of its places) into all bytes of `out`. False, and `out`
// zeroed, when the value has more than `digits` digits or than the bytes can hold.
bool encodePackedDecimal(std::int64_t units, int digits, std::span<std::uint8_t> out);

// The units held by `in`; nothing when a digit nibble is above 9, the sign nibble is not a
// sign, or the value has more than `digits` digits.
std::optional<std::int64_t> decodePackedDecimal(std::span<const std::uint8_t> in, int digits);

}  // namespace dv
