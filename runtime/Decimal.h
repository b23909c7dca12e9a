#pragma once

#include <compare>
#include <concepts>
#include <cstdint>
#include <iosfwd>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace dv {

__extension__ typedef __int128 Int128;

// An arithmetic result that does not fit 128 bits. Values of the program's fields (at most 15
// digits) never come near it; it guards against silent wrapping in chained expressions.
class DecimalOverflow : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Fixed-point decimal: a signed 128-bit count of units of 10^-places, places 0..30.
// Sums and products are exact (a product carries the sum of its operands' scales, capped at 30
// places), division rounds half away from zero to the places asked for, and a division by zero
// gives 0. No operation allocates.
class Decimal {
  public:
    static constexpr int maxPlaces = 30;

    constexpr Decimal() = default;
    template <std::integral T>
    requires(!std::same_as<T, bool>) constexpr Decimal(T value)
        : units_(static_cast<Int128>(value)) {}

    // units * 10^-places. Throws std::invalid_argument for places outside 0..30 and
    // DecimalOverflow for the one 128-bit value that has no negation.
    static Decimal fromUnits(Int128 units, int places);

    // Reads a number as users type it: blanks around it, a leading "+" or "-" or a trailing
    // "-", "," or "." as the decimal separator ("12,5" and "12.5" are 12.5). When both "." and
    // "," occur, or one of them more than once, the last different one is the decimal separator
    // and the others group thousands ("1.234,5", "1,234.5", "1.234.567"); groups must then have
    // three digits. A single separator is always the decimal one ("1.234" is 1.234). The result
    // keeps the places typed. Anything else, or more than 30 places, gives no value.
    // For a whole number (wholeNumber true) "." and "," can only group thousands: "1.234" is
    // 1234 and "12,5" no value.
    static std::optional<Decimal> parse(std::string_view text, bool wholeNumber = false);

    Int128 units() const { return units_; }
    int places() const { return places_; }
    bool isZero() const { return units_ == 0; }
    int sign() const { return units_ > 0 ? 1 : (units_ < 0 ? -1 : 0); }

    // The value at the given places, rounded half away from zero (2.5 -> 3, -2.5 -> -3);
    // more places than the value has extend it exactly.
    Decimal rounded(int places) const;
    // The units of rounded(places).
    Int128 unitsAt(int places) const;
    // This divided by divisor, rounded half away from zero to places; 0 when divisor is 0.
    Decimal divide(const Decimal& divisor, int places) const;

    // Units of 10^-places after rounding to places, when the value then has at most `digits`
    // digits in all; nothing otherwise. Never throws.
    std::optional<std::int64_t> fieldUnits(int digits, int places) const;
    bool fitsField(int digits, int places) const { return fieldUnits(digits, places).has_value(); }

    // Decimal point, all places kept: "-12.500", "0.05", "7".
    std::string toString() const;
    std::string toString(int places) const { return rounded(places).toString(); }

    Decimal operator-() const;
    Decimal& operator+=(const Decimal& other);
    Decimal& operator-=(const Decimal& other);
    Decimal& operator*=(const Decimal& other);

  private:
    constexpr Decimal(Int128 units, int places) : units_(units), places_(places) {}

    // The value at `places` without throwing; nothing when scaling up overflows.
    std::optional<Int128> tryUnitsAt(int places) const;

    friend Decimal operator+(const Decimal& a, const Decimal& b);
    friend Decimal operator*(const Decimal& a, const Decimal& b);
    friend std::strong_ordering operator<=>(const Decimal& a, const Decimal& b);

    Int128 units_ = 0;
    int places_ = 0;
};

// Operators are namespace members (not hidden friends) so that anything converting to Decimal,
// such as a record's decimal field, takes part in the arithmetic.
Decimal operator+(const Decimal& a, const Decimal& b);
Decimal operator-(const Decimal& a, const Decimal& b);
Decimal operator*(const Decimal& a, const Decimal& b);
// Compares values, not representations: 1.50 == 1.5.
std::strong_ordering operator<=>(const Decimal& a, const Decimal& b);
bool operator==(const Decimal& a, const Decimal& b);
// Writes toString(), for diagnostics.
std::ostream& operator<<(std::ostream& out, const Decimal& value);

}  // namespace dv
