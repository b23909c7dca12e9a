#include "runtime/Decimal.h"

#include <algorithm>
#include <array>
#include <limits>
#include <ostream>

#include "runtime/TextCase.h"

namespace dv {
namespace {

constexpr int maxDigits = 38;  // 10^38 is the largest power of ten in 128 bits
constexpr Int128 int128Max = (static_cast<Int128>(std::numeric_limits<std::int64_t>::max()) << 64) |
                             static_cast<Int128>(std::numeric_limits<std::uint64_t>::max());
constexpr Int128 int128Min = -int128Max - 1;

constexpr std::array<Int128, maxDigits + 1> powersOfTen = [] {
    std::array<Int128, maxDigits + 1> table{};
    table[0] = 1;
    for (int i = 1; i <= maxDigits; ++i) table[i] = table[i - 1] * 10;
    return table;
}();

Int128 pow10(int exponent) {
    return powersOfTen[static_cast<std::size_t>(exponent)];
}

Int128 absolute(Int128 v) {
    return v < 0 ? -v : v;
}

[[noreturn]] void overflow(const char* operation) {
    throw DecimalOverflow(std::string("decimal ") + operation + " exceeds 128 bits");
}

// The one 128-bit value without a negation is kept out of every result, so that signs can
// always be taken off and put back.
Int128 checked(Int128 units, const char* operation) {
    if (units == int128Min) overflow(operation);
    return units;
}

void checkPlaces(int places) {
    if (places < 0 || places > Decimal::maxPlaces)
        throw std::invalid_argument("decimal places must lie in 0..30, not " +
                                    std::to_string(places));
}

// units * 10^by, or nothing when it does not fit.
std::optional<Int128> scaleUp(Int128 units, int by) {
    if (by > maxDigits) return units == 0 ? std::optional<Int128>(0) : std::nullopt;
    Int128 result = 0;
    if (__builtin_mul_overflow(units, pow10(by), &result) || result == int128Min)
        return std::nullopt;
    return result;
}

// numerator / denominator rounded half away from zero; denominator is not 0.
Int128 roundedQuotient(Int128 numerator, Int128 denominator) {
    const Int128 quotient = numerator / denominator;
    const Int128 remainder = absolute(numerator % denominator);
    if (remainder < absolute(denominator) - remainder) return quotient;
    return (numerator < 0) != (denominator < 0) ? quotient - 1 : quotient + 1;
}

// Digits of a non-negative value, at least minDigits of them (leading zeros).
std::string digitsOf(Int128 value, int minDigits) {
    char buffer[maxDigits + 2];
    int at = static_cast<int>(sizeof buffer);
    do {
        buffer[--at] = static_cast<char>('0' + static_cast<int>(value % 10));
        value /= 10;
    } while (value != 0 || static_cast<int>(sizeof buffer) - at < minDigits);
    return std::string(buffer + at, sizeof buffer - static_cast<std::size_t>(at));
}

// Where the decimal separator and the thousands separators of typed digits are.
struct Separators {
    std::size_t decimal = std::string_view::npos;
    char grouping = 0;
};

bool isSeparator(char c) {
    return c == '.' || c == ',';
}

std::optional<Separators> findSeparators(std::string_view text, bool wholeNumber) {
    const auto last = text.find_last_of(".,");
    if (last == std::string_view::npos) return Separators{};
    const char lastChar = text[last];
    const auto before = text.substr(0, last);
    const bool sameBefore = before.find(lastChar) != std::string_view::npos;
    const bool otherBefore = before.find(lastChar == '.' ? ',' : '.') != std::string_view::npos;
    // Mixed separators before the last one, or any decimal separator in a whole number.
    if (otherBefore && (sameBefore || wholeNumber)) return std::nullopt;
    if (sameBefore || wholeNumber) return Separators{std::string_view::npos, lastChar};
    return Separators{last, otherBefore ? (lastChar == '.' ? ',' : '.') : char{0}};
}

// Thousands groups of the integer part: 1 to 3 digits first, then exactly 3 after every
// separator.
bool groupsValid(std::string_view integerPart, char grouping) {
    if (grouping == 0) return true;
    std::size_t groupLength = 0;
    bool first = true;
    for (char c : integerPart) {
        if (c != grouping) {
            ++groupLength;
            continue;
        }
        if (groupLength == 0 || groupLength > 3 || (!first && groupLength != 3)) return false;
        first = false;
        groupLength = 0;
    }
    return groupLength == 3;
}

struct Unsigned {
    Int128 units = 0;
    int places = 0;
};

// Digits with at most one decimal separator and thousands separators already checked.
std::optional<Unsigned> readDigits(std::string_view text, const Separators& separators) {
    Unsigned result;
    bool anyDigit = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c >= '0' && c <= '9') {
            if (__builtin_mul_overflow(result.units, 10, &result.units) ||
                __builtin_add_overflow(result.units, c - '0', &result.units))
                return std::nullopt;
            if (separators.decimal != std::string_view::npos && i > separators.decimal)
                ++result.places;
            anyDigit = true;
        } else if (!isSeparator(c)) {
            return std::nullopt;
        }
    }
    if (!anyDigit || result.places > Decimal::maxPlaces) return std::nullopt;
    return result;
}

}  // namespace

Decimal Decimal::fromUnits(Int128 units, int places) {
    checkPlaces(places);
    return Decimal(checked(units, "value"), places);
}

std::optional<Decimal> Decimal::parse(std::string_view text, bool wholeNumber) {
    text = trimBlanks(text);
    bool negative = false;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        negative = text.front() == '-';
        text = trimLeadingBlanks(text.substr(1));
    } else if (!text.empty() && text.back() == '-') {
        negative = true;
        text = trimTrailingBlanks(text.substr(0, text.size() - 1));
    }
    const auto separators = findSeparators(text, wholeNumber);
    if (!separators || !groupsValid(text.substr(0, separators->decimal), separators->grouping))
        return std::nullopt;
    const auto digits = readDigits(text, *separators);
    if (!digits) return std::nullopt;
    return Decimal(negative ? -digits->units : digits->units, digits->places);
}

std::optional<Int128> Decimal::tryUnitsAt(int places) const {
    if (places >= places_) return scaleUp(units_, places - places_);
    return roundedQuotient(units_, pow10(places_ - places));
}

Decimal Decimal::rounded(int places) const {
    checkPlaces(places);
    const auto units = tryUnitsAt(places);
    if (!units) overflow("rescaling");
    return Decimal(*units, places);
}

Int128 Decimal::unitsAt(int places) const {
    return rounded(places).units_;
}

Decimal Decimal::divide(const Decimal& divisor, int places) const {
    checkPlaces(places);
    if (divisor.isZero()) return Decimal(0, places);
    // (a / 10^pa) / (b / 10^pb) * 10^places = a * 10^(places + pb - pa) / b
    const int exponent = places + divisor.places_ - places_;
    if (exponent >= 0) {
        const auto numerator = scaleUp(units_, exponent);
        if (!numerator) overflow("division");
        return Decimal(roundedQuotient(*numerator, divisor.units_), places);
    }
    const auto denominator = scaleUp(divisor.units_, -exponent);
    // A denominator beyond 128 bits exceeds twice any numerator: the quotient rounds to 0.
    if (!denominator) return Decimal(0, places);
    return Decimal(roundedQuotient(units_, *denominator), places);
}

std::optional<std::int64_t> Decimal::fieldUnits(int digits, int places) const {
    if (places < 0 || places > maxPlaces || digits < 0 || digits > 18) return std::nullopt;
    const auto units = tryUnitsAt(places);
    if (!units || absolute(*units) >= pow10(digits)) return std::nullopt;
    return static_cast<std::int64_t>(*units);
}

std::string Decimal::toString() const {
    std::string digits = digitsOf(absolute(units_), places_ + 1);
    if (places_ > 0) digits.insert(digits.size() - static_cast<std::size_t>(places_), 1, '.');
    return units_ < 0 ? "-" + digits : digits;
}

Decimal Decimal::operator-() const {
    return Decimal(-units_, places_);
}

Decimal& Decimal::operator+=(const Decimal& other) {
    return *this = *this + other;
}
Decimal& Decimal::operator-=(const Decimal& other) {
    return *this = *this - other;
}
Decimal& Decimal::operator*=(const Decimal& other) {
    return *this = *this * other;
}

Decimal operator+(const Decimal& a, const Decimal& b) {
    const int places = std::max(a.places_, b.places_);
    const auto left = scaleUp(a.units_, places - a.places_);
    const auto right = scaleUp(b.units_, places - b.places_);
    Int128 sum = 0;
    if (!left || !right || __builtin_add_overflow(*left, *right, &sum)) overflow("addition");
    return Decimal(checked(sum, "addition"), places);
}

Decimal operator-(const Decimal& a, const Decimal& b) {
    return a + -b;
}

Decimal operator*(const Decimal& a, const Decimal& b) {
    Int128 product = 0;
    if (__builtin_mul_overflow(a.units_, b.units_, &product)) overflow("multiplication");
    checked(product, "multiplication");
    const int places = a.places_ + b.places_;
    if (places <= Decimal::maxPlaces) return Decimal(product, places);
    return Decimal(roundedQuotient(product, pow10(places - Decimal::maxPlaces)),
                   Decimal::maxPlaces);
}

std::strong_ordering operator<=>(const Decimal& a, const Decimal& b) {
    if (a.places_ == b.places_) return a.units_ <=> b.units_;
    const bool aFiner = a.places_ > b.places_;
    const Decimal& coarse = aFiner ? b : a;
    const Decimal& fine = aFiner ? a : b;
    const auto scaled = scaleUp(coarse.units_, fine.places_ - coarse.places_);
    // When the coarser value cannot be brought to the finer scale it is beyond every value
    // there, in the direction of its sign.
    const std::strong_ordering coarseVsFine =
        scaled ? (*scaled <=> fine.units_) : (coarse.units_ <=> 0);
    return aFiner ? 0 <=> coarseVsFine : coarseVsFine;
}

bool operator==(const Decimal& a, const Decimal& b) {
    return (a <=> b) == 0;
}

std::ostream& operator<<(std::ostream& out, const Decimal& value) {
    return out << value.toString();
}

}  // namespace dv
