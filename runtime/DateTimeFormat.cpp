// Dates and times in their pictures: the date and time half of PictureFormat.h.

#include <array>
#include <charconv>
#include <optional>
#include <vector>

#include "runtime/PictureFormat.h"
#include "runtime/TextCase.h"

namespace dv {
namespace {

constexpr std::array<std::string_view, 12> monthNames = {
    "januar", "februar", "marec",     "april",   "maj",      "junij",
    "julij",  "avgust",  "september", "oktober", "november", "december"};
// Typed month names are also understood in English abbreviation.
constexpr std::array<std::string_view, 12> englishMonths = {
    "jan", "feb", "mar", "apr", "may", "jun", "jul", "aug", "sep", "oct", "nov", "dec"};

std::string shown(int value, bool zeroFilled) {
    return (zeroFilled && value < 10 ? "0" : "") + std::to_string(value);
}

// The picture's layout with every part replaced by its text.
template <typename PartText>
std::string render(const Picture& picture, PartText partText) {
    std::string out;
    for (char part : picture.layout()) {
        const bool separator = (part == '/' && picture.kind() == PictureKind::date) ||
                               (part == ':' && picture.kind() == PictureKind::time);
        if (separator)
            out += picture.separator();
        else if (const auto text = partText(part))
            out += *text;
        else
            out += part;
    }
    return out;
}

// The parts a date picture asks for, in order: 'd', 'm', 'y' ("dmy", "my", "ymd").
std::string partOrder(std::string_view layout) {
    std::string order;
    for (char part : layout) {
        if (part == 'd') order += 'd';
        if (part == 'm' || part == 'M' || part == 'L') order += 'm';
        if (part == 'y' || part == 'Y') order += 'y';
    }
    return order;
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}
bool isLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

struct Token {
    std::string_view text;
    bool digits = false;
};

// Runs of digits and of letters; the characters in `separators` part them, anything else
// makes the text unreadable.
std::optional<std::vector<Token>> tokens(std::string_view text, std::string_view separators) {
    std::vector<Token> out;
    std::size_t at = 0;
    while (at < text.size()) {
        const char c = text[at];
        if (separators.find(c) != std::string_view::npos) {
            ++at;
            continue;
        }
        if (!isDigit(c) && !isLetter(c)) return std::nullopt;
        const bool digits = isDigit(c);
        const std::size_t start = at;
        while (at < text.size() && (digits ? isDigit(text[at]) : isLetter(text[at]))) ++at;
        out.push_back({text.substr(start, at - start), digits});
    }
    return out;
}

std::optional<int> toInt(std::string_view digits) {
    int value = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (error != std::errc() || end != digits.data() + digits.size()) return std::nullopt;
    return value;
}

std::optional<int> monthByName(std::string_view word) {
    if (word.size() < 3) return std::nullopt;
    const std::string name = lowerSlovenian(word);
    for (std::size_t i = 0; i < monthNames.size(); ++i) {
        const bool slovenian = monthNames[i].substr(0, name.size()) == name;
        const bool english = name.size() == 3 && englishMonths[i] == name;
        if (slovenian || english) return static_cast<int>(i) + 1;
    }
    return std::nullopt;
}

// A typed year: four digits as they are, one or two digits in the picture's window.
std::optional<int> fullYear(std::string_view digits, const Picture& picture) {
    const auto value = toInt(digits);
    if (!value || digits.size() == 3 || digits.size() > 4) return std::nullopt;
    if (digits.size() == 4) return value;
    const int low = civilDate(today()).year - picture.pastYears();
    const int year = low - low % 100 + *value;
    return year < low ? year + 100 : year;
}

// The typed text of each part ('d', 'm', 'y'); an empty year means this year.
struct DateParts {
    std::string_view day, month, year;
    std::optional<int> namedMonth;

    std::string_view& of(char part) { return part == 'd' ? day : (part == 'm' ? month : year); }
};

// One run of digits ("01022024", "010224", "0102"): two digits for day and month, the rest
// (none, two or four) for the year.
std::optional<DateParts> splitRun(std::string_view run, const std::string& order) {
    const std::size_t fixed = 2 * (order.size() - 1);
    if (run.size() < fixed) return std::nullopt;
    const std::size_t yearLength = run.size() - fixed;
    if (yearLength != 0 && yearLength != 2 && yearLength != 4) return std::nullopt;
    DateParts parts;
    std::size_t at = 0;
    for (char part : order) {
        const std::size_t length = part == 'y' ? yearLength : 2;
        parts.of(part) = run.substr(at, length);
        at += length;
    }
    return parts;
}

// Tokens in the picture's order; a month name takes the month, and a missing trailing year
// means this year.
std::optional<DateParts> assignTokens(const std::vector<Token>& typed, const std::string& order) {
    DateParts parts;
    std::string numbered;
    for (const Token& token : typed) {
        if (token.digits) continue;
        if (parts.namedMonth) return std::nullopt;
        parts.namedMonth = monthByName(token.text);
        if (!parts.namedMonth) return std::nullopt;
    }
    for (char part : order)
        if (part != 'm' || !parts.namedMonth) numbered += part;
    std::size_t next = 0;
    for (const Token& token : typed) {
        if (!token.digits) continue;
        if (next == numbered.size()) return std::nullopt;
        parts.of(numbered[next++]) = token.text;
    }
    const bool yearLeftOut = next + 1 == numbered.size() && numbered.back() == 'y';
    if (next != numbered.size() && !yearLeftOut) return std::nullopt;
    return parts;
}

std::optional<DayNumber> dayOf(const DateParts& parts, const Picture& picture) {
    const auto year = parts.year.empty() ? civilDate(today()).year : fullYear(parts.year, picture);
    const auto month = parts.namedMonth ? parts.namedMonth : toInt(parts.month);
    const auto day = parts.day.empty() ? std::optional<int>(1) : toInt(parts.day);
    if (!year || !month || !day) return std::nullopt;
    const DayNumber result = dayNumber(*year, *month, *day);
    return result == 0 ? std::nullopt : std::optional<DayNumber>(result);
}

// A typed "AM"/"PM" at the end: +1 for PM, -1 for AM, 0 for none; removed from the text.
int takeMeridiem(std::string_view& text) {
    if (text.size() < 2) return 0;
    const std::string suffix = lowerSlovenian(text.substr(text.size() - 2));
    if (suffix != "am" && suffix != "pm") return 0;
    text = trimTrailingBlanks(text.substr(0, text.size() - 2));
    return suffix == "pm" ? 1 : -1;
}

// Hour, minute, second and hundredths from typed digits.
std::optional<std::array<int, 4>> timeParts(const std::vector<Token>& typed) {
    std::vector<std::string_view> fields;
    if (typed.size() == 1 && typed[0].text.size() > 2) {
        const std::string_view run = typed[0].text;
        if (run.size() > 6) return std::nullopt;
        const std::size_t hourLength = run.size() % 2 == 0 ? 2 : 1;
        fields.push_back(run.substr(0, hourLength));
        for (std::size_t at = hourLength; at < run.size(); at += 2)
            fields.push_back(run.substr(at, 2));
    } else {
        for (const Token& token : typed) fields.push_back(token.text);
    }
    if (fields.empty() || fields.size() > 4) return std::nullopt;
    std::array<int, 4> parts{};
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const auto value = toInt(fields[i]);
        if (!value || fields[i].size() > 2) return std::nullopt;
        parts[i] = (i == 3 && fields[i].size() == 1) ? *value * 10 : *value;
    }
    return parts;
}

}  // namespace

std::string formatDate(DayNumber day, const Picture& picture) {
    if (day == 0) return {};
    const CivilDate date = civilDate(day);
    if (date.year == 0) return std::string(static_cast<std::size_t>(picture.width()), '#');
    const auto& month = monthNames[static_cast<std::size_t>(date.month - 1)];
    return render(picture, [&](char part) -> std::optional<std::string> {
        switch (part) {
            case 'd':
                return shown(date.day, picture.zeroFilled());
            case 'm':
                return shown(date.month, picture.zeroFilled());
            case 'M':
                return std::string(month.substr(0, 3));
            case 'L':
                return std::string(month);
            case 'y':
                return shown(date.year % 100, true);
            case 'Y':
                return std::to_string(date.year);
            default:
                return std::nullopt;
        }
    });
}

std::string formatTime(TimeValue time, const Picture& picture) {
    if (time == 0) return {};
    if (time < 0 || time > lastValidTime)
        return std::string(static_cast<std::size_t>(picture.width()), '#');
    const ClockTime clock = clockTime(time);
    const bool twelveHour = picture.layout().find('X') != std::string_view::npos;
    const int hour = twelveHour ? (clock.hour + 11) % 12 + 1 : clock.hour;
    return render(picture, [&](char part) -> std::optional<std::string> {
        switch (part) {
            case 'h':
                return shown(hour, picture.zeroFilled());
            case 'n':
                return shown(clock.minute, true);
            case 's':
                return shown(clock.second, true);
            case 'X':
                return std::string(clock.hour < 12 ? "AM" : "PM");
            default:
                return std::nullopt;
        }
    });
}

Deformatted<DayNumber> deformatDate(std::string_view text, const Picture& picture) {
    text = trimBlanks(text);
    if (text.empty()) return {};
    const auto typed = tokens(text, "./-, ");
    const std::string order = partOrder(picture.layout());
    if (!typed || typed->empty() || order.empty()) return {0, InputError::notDate};
    const bool oneRun =
        typed->size() == 1 && typed->front().digits && typed->front().text.size() > 2;
    auto parts = oneRun ? splitRun(typed->front().text, order) : assignTokens(*typed, order);
    const auto day = parts ? dayOf(*parts, picture) : std::nullopt;
    if (!day) return {0, InputError::notDate};
    return {*day};
}

// Every time picture reads the same forms.
Deformatted<TimeValue> deformatTime(std::string_view text, const Picture&) {
    text = trimBlanks(text);
    if (text.empty()) return {};
    const int meridiem = takeMeridiem(text);
    const auto typed = tokens(text, ":.,- ");
    const auto parts = typed ? timeParts(*typed) : std::nullopt;
    if (!parts) return {0, InputError::notTime};
    auto [hour, minute, second, hundredths] = *parts;
    if (meridiem != 0) {
        if (hour < 1 || hour > 12) return {0, InputError::notTime};
        hour = hour % 12 + (meridiem > 0 ? 12 : 0);
    }
    const TimeValue time = timeValue(hour, minute, second, hundredths);
    if (time == 0) return {0, InputError::notTime};
    return {time};
}

}  // namespace dv
