#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <type_traits>

#include "runtime/Decimal.h"

namespace dv {

// A value stored into a decimal field that its digits cannot hold.
class FieldOverflow : public std::runtime_error {
  public:
    FieldOverflow(int digits, int places, const Decimal& value)
        : std::runtime_error("the value " + value.toString() + " does not fit a decimal field of " +
                             std::to_string(digits) + " digits with " + std::to_string(places) +
                             " places") {}
};

// The storage form of a decimal record field of Digits digits, Places of them after the point.
// Its only member is the count of units of 10^-Places, so generic record code may copy it as
// eight bytes. Stored values are rounded half away from zero to Places; a value too large for
// Digits is refused, never wrapped.
template <int Digits, int Places>
class FixedDecimal {
    static_assert(Digits >= 1 && Digits <= 18, "a decimal field holds 1 to 18 digits");
    static_assert(Places >= 0 && Places <= Digits, "a decimal field has 0 to Digits places");

  public:
    static constexpr int digits = Digits;
    static constexpr int places = Places;

    FixedDecimal() = default;

    Decimal value() const { return Decimal::fromUnits(units_, Places); }
    operator Decimal() const { return value(); }

    std::int64_t units() const { return units_; }
    void setUnits(std::int64_t units) { units_ = units; }

    // Stores the value rounded to Places; false (and the field unchanged) when it does not fit.
    bool assign(const Decimal& value) {
        const auto units = value.fieldUnits(Digits, Places);
        if (!units) return false;
        units_ = *units;
        return true;
    }

    // As assign, but a value that does not fit throws FieldOverflow.
    FixedDecimal& operator=(const Decimal& value) {
        if (!assign(value)) throw FieldOverflow(Digits, Places, value);
        return *this;
    }
    FixedDecimal& operator+=(const Decimal& value) { return *this = this->value() + value; }
    FixedDecimal& operator-=(const Decimal& value) { return *this = this->value() - value; }

  private:
    std::int64_t units_ = 0;
};

namespace detail {
using SampleFixedDecimal = FixedDecimal<15, 6>;
static_assert(std::is_standard_layout_v<SampleFixedDecimal>);
static_assert(std::is_trivially_copyable_v<SampleFixedDecimal>);
static_assert(sizeof(SampleFixedDecimal) == sizeof(std::int64_t));
}  // namespace detail

}  // namespace dv
