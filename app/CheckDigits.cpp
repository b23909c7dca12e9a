#include "app/CheckDigits.h"

#include <algorithm>

namespace dv {
namespace {

bool allDigits(std::string_view text, std::size_t count) {
    return text.size() == count &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

int digit(char c) {
    return c - '0';
}

}  // namespace

std::optional<char> ean13CheckDigit(std::string_view twelveDigits) {
    if (!allDigits(twelveDigits, 12)) return std::nullopt;
    int sum = 0;
    for (std::size_t i = 0; i < twelveDigits.size(); ++i)
        sum += digit(twelveDigits[i]) * (i % 2 == 0 ? 1 : 3);
    return static_cast<char>('0' + (10 - sum % 10) % 10);
}

std::string ean13(std::string_view twelveDigits) {
    const auto check = ean13CheckDigit(twelveDigits);
    return check ? std::string(twelveDigits) + *check : std::string();
}

bool isValidEan13(std::string_view code) {
    if (!allDigits(code, 13)) return false;
    return ean13CheckDigit(code.substr(0, 12)) == code[12];
}

std::optional<char> taxNumberCheckDigit(std::string_view sevenDigits) {
    if (!allDigits(sevenDigits, 7)) return std::nullopt;
    int sum = 0;
    for (std::size_t i = 0; i < sevenDigits.size(); ++i)
        sum += digit(sevenDigits[i]) * static_cast<int>(8 - i);
    const int check = 11 - sum % 11;
    if (check == 10) return std::nullopt;
    return static_cast<char>('0' + check % 11);
}

bool isValidTaxNumber(std::string_view number) {
    if (!allDigits(number, 8)) return false;
    return taxNumberCheckDigit(number.substr(0, 7)) == number[7];
}

}  // namespace dv
