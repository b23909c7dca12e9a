#pragma once

#include <string>
#include <string_view>

#include "runtime/Date.h"
#include "runtime/Decimal.h"
#include "runtime/Picture.h"
#include "runtime/TimeOfDay.h"

namespace dv {

// Formatting shows a value in a picture (see Picture.h for the notation); deformatting reads
// back what a user typed into a field with that picture.
//
// Formatted text is not padded to the picture's width: callers align it (numbers to the
// right). A number, date or time that does not fit the width shows as "#" over the whole
// width, never cut. Blank-when-zero values, day 0 and time 0 show as "".

// Why typed text was refused.
enum class InputError { none, notNumber, tooLarge, negative, notDate, notTime };

template <typename T>
struct Deformatted {
    T value{};
    InputError error = InputError::none;
    bool ok() const { return error == InputError::none; }
};

// The message for a refused input, in the user's language, with an example in the picture
// where one helps ("Datum ni veljaven. Vnesite ga v obliki 31.12.2024.").
std::string inputErrorMessage(InputError error, const Picture& picture);

// A value in any picture: numbers and patterns show the number, date and time pictures take
// it as a day number or time value, text pictures show its digits.
std::string format(const Decimal& value, const Picture& picture);
std::string formatDate(DayNumber day, const Picture& picture);
std::string formatTime(TimeValue time, const Picture& picture);
// Text cut to the picture's width in characters; a pattern picture lays out a text of digits
// in its pattern and shows any other text as it is.
std::string formatText(std::string_view utf8, const Picture& picture);

// Reads typed text in any picture back to a value (day numbers and times as whole numbers).
// Blank input is 0. Numbers are read as Decimal::parse reads them ("12,5" and "12.5" alike,
// whatever the picture's separator; in whole-number pictures "." and "," group thousands),
// also in parentheses or with the picture's fill, then rounded half away from zero to the
// picture's places; they are refused when negative for an unsigned picture or too wide for it.
// A pattern picture takes the digits typed and ignores the rest.
Deformatted<Decimal> deformat(std::string_view text, const Picture& picture);
// Dates as users type them, in the order of the picture's parts (day first for @D6 and @D17,
// month first for @D2, year first for @D10): "1.2.2024", "01.02.2024", "1.2.24", "1-2-2024",
// "01022024", "1.2" (this year), month names "1 feb 2024". Any of ". / - , blank" separates
// the parts. Two-digit years fall in the picture's window (Picture::pastYears).
Deformatted<DayNumber> deformatDate(std::string_view text, const Picture& picture);
// Times: "8:05", "08:05:30", "8.05", "0805", "8" (the hour), "08:05:30.25" (hundredths), an
// "AM" or "PM" suffix for a 12-hour clock.
Deformatted<TimeValue> deformatTime(std::string_view text, const Picture& picture);

}  // namespace dv
