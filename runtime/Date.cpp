#include "runtime/Date.h"

#include <atomic>
#include <ctime>

namespace dv {
namespace {

std::atomic<DayNumber> fixedToday{0};

// Days from 1 March of year 0 of the proleptic Gregorian calendar, shifted so that the
// leap day ends a (March-based) year; the arithmetic of H. Hinnant's days_from_civil.
constexpr std::int64_t daysFromCivil(std::int64_t year, int month, int day) {
    year -= month <= 2 ? 1 : 0;
    const std::int64_t era = (year >= 0 ? year : year - 399) / 400;
    const std::int64_t yearOfEra = year - era * 400;
    const std::int64_t dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
    const std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra;
}

constexpr std::int64_t epoch = daysFromCivil(1800, 12, 28);

static_assert(daysFromCivil(1801, 1, 1) - epoch == firstValidDay);
static_assert(daysFromCivil(9999, 12, 31) - epoch == lastValidDay);

}  // namespace

bool isLeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int daysInMonth(int year, int month) {
    static constexpr int lengths[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12) return 0;
    return lengths[month - 1] + (month == 2 && isLeapYear(year) ? 1 : 0);
}

DayNumber dayNumber(int year, int month, int day) {
    if (year < 1801 || year > 9999 || day < 1 || day > daysInMonth(year, month)) return 0;
    return static_cast<DayNumber>(daysFromCivil(year, month, day) - epoch);
}

CivilDate civilDate(DayNumber dayNumber) {
    if (dayNumber < firstValidDay || dayNumber > lastValidDay) return {};
    // The inverse of daysFromCivil (H. Hinnant's civil_from_days).
    const std::int64_t days = dayNumber + epoch;
    const std::int64_t era = days / 146097;
    const std::int64_t dayOfEra = days - era * 146097;
    const std::int64_t yearOfEra =
        (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const std::int64_t shiftedMonth = (5 * dayOfYear + 2) / 153;
    const int day = static_cast<int>(dayOfYear - (153 * shiftedMonth + 2) / 5 + 1);
    const int month = static_cast<int>(shiftedMonth < 10 ? shiftedMonth + 3 : shiftedMonth - 9);
    const int year = static_cast<int>(yearOfEra + era * 400 + (month <= 2 ? 1 : 0));
    return {year, month, day};
}

int weekday(DayNumber day) {
    return ((day % 7) + 7) % 7;
}

DayNumber today() {
    if (const DayNumber fixed = fixedToday.load(); fixed != 0) return fixed;
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return dayNumber(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
}

void setFixedToday(DayNumber day) {
    fixedToday.store(day);
}

}  // namespace dv
