#include "masterdata/TaxNumber.h"

#include <string>

#include "runtime/TextCase.h"

namespace dv {
namespace {

constexpr std::size_t kDigits = 13;

// The digits of the number padded to 13 with leading zeros; empty when it is not such a number.
std::string paddedDigits(std::string_view text) {
    const std::string_view trimmed = trimBlanks(text);
    if (trimmed.empty() || trimmed.size() > kDigits) return {};
    for (char c : trimmed)
        if (c < '0' || c > '9') return {};
    return std::string(kDigits - trimmed.size(), '0') + std::string(trimmed);
}

}  // namespace

bool taxNumberValid(std::string_view text) {
    const std::string digits = paddedDigits(text);
    if (digits.empty()) return false;
    int sum = 0;
    for (std::size_t i = 0; i + 1 < kDigits; ++i)
        sum += static_cast<int>(kDigits - i) * (digits[i] - '0');
    int check = 11 - sum % 11;
    if (check >= 10) check = 0;
    return check == digits[kDigits - 1] - '0';
}

std::optional<std::uint32_t> taxNumberValue(std::string_view text) {
    const std::string digits = paddedDigits(text);
    if (digits.empty()) return std::nullopt;
    const unsigned long long value = std::stoull(digits);
    if (value > 0xFFFFFFFFull) return std::nullopt;
    return static_cast<std::uint32_t>(value);
}

}  // namespace dv
