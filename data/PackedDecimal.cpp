#include "data/PackedDecimal.h"

#include <algorithm>
#include <cstdint>

namespace dv {
namespace {

constexpr std::uint8_t kPositive = 0xC;
constexpr std::uint8_t kNegative = 0xD;

// 10^digits for digits 0..19; larger counts never bound a field.
constexpr std::uint64_t powerOfTen(int digits) {
    std::uint64_t result = 1;
    for (int i = 0; i < digits && i < 19; ++i) result *= 10;
    return result;
}

bool fitsDigits(std::uint64_t magnitude, int digits) {
    return digits >= 19 || magnitude < powerOfTen(digits);
}

int capacity(std::size_t bytes) {
    return static_cast<int>(2 * bytes) - 1;
}

// magnitude * 10 + digit; false when that leaves 64 bits.
bool appendDigit(std::uint64_t& magnitude, int digit) {
    if (magnitude > (UINT64_MAX - 9) / 10) return false;
    magnitude = magnitude * 10 + static_cast<std::uint64_t>(digit);
    return true;
}

}  // namespace

bool encodePackedDecimal(std::int64_t units, int digits, std::span<std::uint8_t> out) {
    std::fill(out.begin(), out.end(), std::uint8_t{0});
    if (out.empty()) return false;
    std::uint64_t magnitude =
        units < 0 ? 0 - static_cast<std::uint64_t>(units) : static_cast<std::uint64_t>(units);
    if (!fitsDigits(magnitude, std::min(digits, capacity(out.size())))) return false;
    // Nibbles from the least significant end: the sign first, then the digits.
    int nibble = 0;
    auto put = [&](std::uint8_t value) {
        const std::size_t byte = out.size() - 1 - static_cast<std::size_t>(nibble / 2);
        out[byte] |= (nibble % 2 == 0) ? value : static_cast<std::uint8_t>(value << 4);
        ++nibble;
    };
    put(units < 0 ? kNegative : kPositive);
    for (int i = 0; i < capacity(out.size()); ++i, magnitude /= 10)
        put(static_cast<std::uint8_t>(magnitude % 10));
    return true;
}

std::optional<std::int64_t> decodePackedDecimal(std::span<const std::uint8_t> in, int digits) {
    if (in.empty()) return std::nullopt;
    const std::uint8_t sign = in.back() & 0x0F;
    if (sign < 0xA) return std::nullopt;
    std::uint64_t magnitude = 0;
    for (std::size_t i = 0; i < in.size(); ++i) {
        const int high = in[i] >> 4;
        const int low = in[i] & 0x0F;
        const bool last = i + 1 == in.size();
        if (high > 9 || (!last && low > 9)) return std::nullopt;
        if (!appendDigit(magnitude, high)) return std::nullopt;
        if (!last && !appendDigit(magnitude, low)) return std::nullopt;
    }
    if (!fitsDigits(magnitude, digits) || magnitude > INT64_MAX) return std::nullopt;
    const auto value = static_cast<std::int64_t>(magnitude);
    return (sign == 0xB || sign == kNegative) ? -value : value;
}

}  // namespace dv
