#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace dv {

// Check digits of the codes the program's master data carry.

// The check digit of an EAN-13 bar code whose first twelve digits are `twelveDigits`: the digits
// weighted 1, 3, 1, 3, ... from the left, summed, and completed to the next multiple of ten.
// Nothing when `twelveDigits` is not exactly twelve decimal digits.
std::optional<char> ean13CheckDigit(std::string_view twelveDigits);

// `twelveDigits` followed by its check digit; empty when they are not twelve digits.
std::string ean13(std::string_view twelveDigits);

// True for thirteen decimal digits whose last is the check digit of the first twelve.
bool isValidEan13(std::string_view code);

// The check digit of a Slovenian tax number whose first seven digits are `sevenDigits`: the
// digits weighted 8 down to 2, summed, and 11 minus the remainder of the sum divided by 11 (11
// gives 0). Nothing when the input is not seven digits, or when the remainder is 1 (such a
// number is never issued).
std::optional<char> taxNumberCheckDigit(std::string_view sevenDigits);

// True for eight decimal digits whose last is the check digit of the first seven.
bool isValidTaxNumber(std::string_view number);

}  // namespace dv
