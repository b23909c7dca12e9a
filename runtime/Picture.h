#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace dv {

// A malformed display picture.
class PictureError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// A display picture: how a value is shown and read back, in the notation of the runtime the
// program was written for. The leading "@" may be left out and letters may be of either case
// ("@n-14.2", "n_8", "D06.B" and "s60" are all pictures); blanks around it are ignored.
//
// Numbers   @N [sign] [fill] width [grouping] [places] [trailing sign] [B]
//   sign      "-" a minus before negative numbers; "(" negative numbers in parentheses
//             (needs ")" as trailing sign). Without a sign the picture is unsigned: input
//             refuses negative numbers, while a negative value is still shown with a "-".
//   fill      "0" leading zeros, "*" leading asterisks, "_" nothing; any fill drops the
//             default grouping
//   width     1..40 characters in all, sign, separators and decimals included
//   grouping  "." periods or "_" blanks between thousands; without it (and without a fill)
//             thousands are grouped by "," or, with the decimal comma, by "."
//   places    "." and the number of decimals; "`" (grave accent) and the number: decimal
//             comma; "v" and the number: decimals without a separator shown (typed
//             text is still read with its separator)
//   trailing  "-" a minus after negative numbers (positive ones end in a blank for
//             alignment); ")" closes "("
//   B         blank when the value (rounded to the places) is zero
//   A number too wide for its picture shows as "#" repeated over the width.
//   Examples: "14 wide, 4 decimals, decimal comma, blank when 0" is @N14`4B (1.234,5600);
//   "13 wide, 3 decimals, signed" is @N-13.3; a 3-digit number is @N3; "8 digits without
//   grouping" is @N_8; "15 wide, 4 decimals, decimal comma, signed" is @N-15`4.
//
// Dates     @D [0] style [separator] [direction range] [B]
//   style     1 mm/dd/yy   2 mm/dd/yyyy  3 mmm dd, yyyy  4 mmmmmmmmm dd, yyyy  5 dd/mm/yy
//             6 dd/mm/yyyy 7 dd mmm yy   8 dd mmm yyyy   9 yy/mm/dd  10 yyyy/mm/dd
//             11 yymmdd    12 yyyymmdd   13 mm/yy  14 mm/yyyy  15 yy/mm  16 yyyy/mm
//             17 the short date of Slovenian practice, dd.mm.yyyy (always zero-filled)
//             18 the long date, d. mmmmmmmm yyyy ("1. februar 2024")
//             Month names are Slovenian, abbreviated to three letters ("jan", "avg").
//   0         day and month zero-filled to two digits ("01.02.2024"); without it they are
//             shown as they are ("1.2.2024")
//   separator "/" by default; "." periods, "-" hyphens, "`" commas, "_" blanks
//   direction ">" range: two-digit years reach `range` years into the future; "<" range:
//             `range` years into the past. Default: from 80 years back to 19 years ahead of
//             today's year.
//   B         blank when zero. Day 0 ("no date") shows blank with or without B; a day
//             number outside 1.1.1801..31.12.9999 shows as "#".
//
// Times     @T [0] style [separator] [B]
//   style     1 hh:mm  2 hhmm  3 hh:mmXM (12-hour, AM/PM)  4 hh:mm:ss  5 hhmmss
//             6 hh:mm:ssXM  7 short time (as 1)  8 long time (as 4)
//   0         hour zero-filled ("08:05"); styles 2 and 5 always fill it
//   separator ":" by default; "." periods, "-" hyphens, "`" commas, "_" blanks
//   Time 0 ("no time") shows blank.
//
// Text      @S width                  the text cut to width characters
// Patterns  @P pattern P [B]          "#" a digit, "<" a digit shown blank while a leading
//                                     zero, anything else as written ("@P###-###-###P").
//   The bare form "####-####-####-###" is read as that pattern.
enum class PictureKind { number, date, time, text, pattern };

class Picture {
  public:
    enum class Sign { none, leading, trailing, parentheses };
    enum class Fill { none, zeros, blanks, asterisks };

    // The picture, or nothing (with the reason in *error when given) when malformed.
    static std::optional<Picture> parse(std::string_view text, std::string* error = nullptr);
    // As parse, but a malformed picture throws PictureError naming it and the reason.
    static Picture of(std::string_view text);

    PictureKind kind() const { return kind_; }
    // The picture as written.
    const std::string& text() const { return text_; }
    // Characters of the widest formatted value.
    int width() const { return width_; }
    bool blankWhenZero() const { return blankWhenZero_; }
    // Numbers are right-aligned in their width, everything else left-aligned.
    bool rightAligned() const { return kind_ == PictureKind::number; }
    // The picture in words: "14 wide, 4 decimals, decimal comma, grouped by '.', blank when
    // 0", "date dd.mm.yyyy", "time hh:mm", "60 characters", "pattern ###-###".
    std::string describe() const;

    // Numbers.
    int places() const { return places_; }
    Sign sign() const { return sign_; }
    bool isSigned() const { return sign_ != Sign::none; }
    Fill fill() const { return fill_; }
    // The thousands separator, 0 for none.
    char grouping() const { return grouping_; }
    // '.', ',' or 0 for decimals shown without a separator.
    char decimalSeparator() const { return decimalSeparator_; }

    // Dates and times.
    int style() const { return style_; }
    bool zeroFilled() const { return zeroFilled_; }
    char separator() const { return separator_; }
    // Two-digit years are read as the year in [today's year - pastYears, + 99].
    int pastYears() const { return pastYears_; }
    // The parts of the style in order, one letter each: d day, m month, M month abbreviated,
    // L month name, y two-digit year, Y year, h hour, n minute, s second, X "AM"/"PM";
    // '/' in dates and ':' in times stand for the separator, anything else is shown as
    // written ("d/m/Y", "d. L Y", "h:n").
    std::string_view layout() const { return layout_; }

    // Patterns.
    const std::string& pattern() const { return pattern_; }

  private:
    class Parser;
    Picture() = default;

    std::string text_;
    PictureKind kind_ = PictureKind::text;
    int width_ = 0;
    bool blankWhenZero_ = false;
    int places_ = 0;
    Sign sign_ = Sign::none;
    Fill fill_ = Fill::none;
    char grouping_ = 0;
    char decimalSeparator_ = '.';
    int style_ = 0;
    bool zeroFilled_ = false;
    char separator_ = 0;
    std::string_view layout_;
    int pastYears_ = 80;
    std::string pattern_;
};

}  // namespace dv
