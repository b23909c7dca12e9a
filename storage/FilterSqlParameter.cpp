#include "runtime/Expression.h"
#include "runtime/ExpressionFunctions.h"
#include "storage/FilterSqlFragment.h"

namespace dv {
namespace {

// Beyond every value a column can hold (at most 18 digits).
constexpr Int128 unitsLimit = 1'000'000'000'000'000'000;

// The value in units of 10^-places, brought to the limit when it lies beyond it.
std::int64_t units(const Decimal& value, int places, ParameterConversion conversion) {
    const Decimal limit = Decimal::fromUnits(unitsLimit, places);
    if (value >= limit) return static_cast<std::int64_t>(unitsLimit);
    if (value <= -limit) return static_cast<std::int64_t>(-unitsLimit);
    // Floor: the units rounded half away from zero, one less when that went above the value.
    Int128 floor = value.unitsAt(places);
    const Decimal atFloor = Decimal::fromUnits(floor, places);
    if (atFloor > value) floor -= 1;
    const bool exact = Decimal::fromUnits(floor, places) == value;
    switch (conversion) {
        case ParameterConversion::UnitsFloor:
            return static_cast<std::int64_t>(floor);
        case ParameterConversion::UnitsCeil:
            return static_cast<std::int64_t>(exact ? floor : floor + 1);
        default:
            return static_cast<std::int64_t>(exact ? floor : unitsLimit);
    }
}

}  // namespace

KeyValue SqlParameter::value() const {
    const ExpressionValue value = evaluateNode(*node);
    switch (conversion) {
        case ParameterConversion::Text:
            return value.toText();
        case ParameterConversion::Integer:
            return integerArgument(value);
        case ParameterConversion::Truth:
            return std::int64_t{value.isTrue() ? 1 : 0};
        default:
            return units(value.toNumber(), places, conversion);
    }
}

}  // namespace dv
