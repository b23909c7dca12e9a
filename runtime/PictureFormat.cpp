#include "runtime/PictureFormat.h"

#include <algorithm>
#include <limits>
#include <optional>

#include "runtime/TextCase.h"

namespace dv {
namespace {

std::string overflowMark(const Picture& picture) {
    return std::string(static_cast<std::size_t>(picture.width()), '#');
}

// The value rounded to the picture's places; nothing when that exceeds 128 bits.
std::optional<Decimal> roundedFor(const Decimal& value, int places) {
    try {
        return value.rounded(places);
    } catch (const DecimalOverflow&) {
        return std::nullopt;
    }
}

std::string grouped(std::string_view digits, char grouping) {
    if (grouping == 0) return std::string(digits);
    std::string out;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) out += grouping;
        out += digits[i];
    }
    return out;
}

// The sign marks around a number: what goes before and after its digits.
std::pair<std::string, std::string> signMarks(bool negative, Picture::Sign sign) {
    switch (sign) {
        case Picture::Sign::trailing:
            return {"", negative ? "-" : " "};
        case Picture::Sign::parentheses:
            return {negative ? "(" : "", negative ? ")" : " "};
        case Picture::Sign::leading:
        case Picture::Sign::none:
            break;  // an unsigned picture still shows a minus
    }
    return {negative ? "-" : "", ""};
}

// A number already rounded to the picture's places, laid out; nothing when it is too wide.
std::optional<std::string> composeNumber(const Decimal& value, const Picture& picture) {
    const std::string plain = value.toString();
    const std::string_view digits = std::string_view(plain).substr(value.sign() < 0 ? 1 : 0);
    const auto point = digits.find('.');
    std::string body = grouped(digits.substr(0, point), picture.grouping());
    if (point != std::string_view::npos) {
        if (picture.decimalSeparator() != '\0') body += picture.decimalSeparator();
        body += digits.substr(point + 1);
    }
    const auto [before, after] = signMarks(value.sign() < 0, picture.sign());
    const auto length = static_cast<int>(before.size() + body.size() + after.size());
    if (length > picture.width()) return std::nullopt;
    const auto room = static_cast<std::size_t>(picture.width() - length);
    if (picture.fill() == Picture::Fill::zeros)
        return before + std::string(room, '0') + body + after;
    if (picture.fill() == Picture::Fill::asterisks)
        return std::string(room, '*') + before + body + after;
    return before + body + after;
}

// Digits laid out in a pattern from the right; nothing when there are more digits than places.
std::optional<std::string> fillPattern(std::string_view digits, const std::string& pattern) {
    const auto positions =
        std::count_if(pattern.begin(), pattern.end(), [](char c) { return c == '#' || c == '<'; });
    if (static_cast<std::ptrdiff_t>(digits.size()) > positions) return std::nullopt;
    std::string out = pattern;
    auto next = digits.rbegin();
    for (auto it = out.rbegin(); it != out.rend(); ++it) {
        if (*it != '#' && *it != '<') continue;
        const bool haveDigit = next != digits.rend();
        *it = haveDigit ? *next++ : (*it == '#' ? '0' : ' ');
    }
    return out;
}

bool allDigits(std::string_view text) {
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::string formatPattern(const Decimal& value, const Picture& picture) {
    const auto whole = roundedFor(value, 0);
    if (!whole || whole->sign() < 0) return overflowMark(picture);
    if (whole->isZero() && picture.blankWhenZero()) return {};
    const auto out = fillPattern(whole->toString(), picture.pattern());
    return out ? *out : overflowMark(picture);
}

std::string formatNumber(const Decimal& value, const Picture& picture) {
    const auto rounded = roundedFor(value, picture.places());
    if (!rounded) return overflowMark(picture);
    if (rounded->isZero() && picture.blankWhenZero()) return {};
    const auto out = composeNumber(*rounded, picture);
    return out ? *out : overflowMark(picture);
}

// The leading characters of UTF-8 text that make up at most `count` characters.
std::string_view firstCharacters(std::string_view utf8, int count) {
    std::size_t at = 0;
    for (int seen = 0; at < utf8.size(); ++at) {
        const bool startsCharacter = (static_cast<unsigned char>(utf8[at]) & 0xC0) != 0x80;
        if (startsCharacter && seen++ == count) break;
    }
    return utf8.substr(0, at);
}

// A whole number as a 32-bit day number or time; nothing outside that range.
std::optional<std::int32_t> asInt32(const Decimal& value) {
    const auto whole = roundedFor(value, 0);
    if (!whole || *whole < std::numeric_limits<std::int32_t>::min() ||
        *whole > std::numeric_limits<std::int32_t>::max())
        return std::nullopt;
    return static_cast<std::int32_t>(whole->units());
}

// Typed number text without blanks, fill and parentheses; `negative` tells of parentheses.
std::string cleanNumberText(std::string_view text, bool& negative) {
    std::string out;
    for (char c : trimBlanks(text))
        if (c != ' ' && c != '*') out += c;
    negative = out.size() >= 2 && out.front() == '(' && out.back() == ')';
    if (negative) out = out.substr(1, out.size() - 2);
    return out;
}

// Without the leading zeros of a zero-filled picture, which stand outside its thousands groups
// ("0001.234" reads as "1.234"); a zero before a separator or at the end stays.
std::string withoutFillZeros(std::string text) {
    const std::size_t start = !text.empty() && (text[0] == '-' || text[0] == '+') ? 1 : 0;
    std::size_t end = start;
    while (end + 1 < text.size() && text[end] == '0' && text[end + 1] >= '0' &&
           text[end + 1] <= '9')
        ++end;
    return text.erase(start, end - start);
}

Deformatted<Decimal> refused(InputError error) {
    return {Decimal(), error};
}

Deformatted<Decimal> deformatPattern(std::string_view text, const Picture& picture) {
    std::string digits;
    for (char c : text)
        if (c >= '0' && c <= '9') digits += c;
    if (digits.empty()) return {};
    if (!fillPattern(digits, picture.pattern())) return refused(InputError::tooLarge);
    const auto value = Decimal::parse(digits);
    return value ? Deformatted<Decimal>{*value} : refused(InputError::tooLarge);
}

Deformatted<Decimal> deformatNumber(std::string_view text, const Picture& picture) {
    bool inParentheses = false;
    std::string cleaned = cleanNumberText(text, inParentheses);
    if (cleaned.empty()) return {Decimal::fromUnits(0, picture.places())};
    if (picture.fill() == Picture::Fill::zeros) cleaned = withoutFillZeros(std::move(cleaned));
    auto value = Decimal::parse(cleaned, picture.places() == 0);
    if (!value) return refused(InputError::notNumber);
    if (inParentheses) value = -*value;
    if (value->sign() < 0 && !picture.isSigned()) return refused(InputError::negative);
    const auto rounded = roundedFor(*value, picture.places());
    if (!rounded || !composeNumber(*rounded, picture)) return refused(InputError::tooLarge);
    return {*rounded};
}

template <typename T>
Deformatted<Decimal> asDecimal(const Deformatted<T>& read) {
    return {Decimal(read.value), read.error};
}

}  // namespace

std::string format(const Decimal& value, const Picture& picture) {
    switch (picture.kind()) {
        case PictureKind::number:
            return formatNumber(value, picture);
        case PictureKind::pattern:
            return formatPattern(value, picture);
        case PictureKind::text:
            return formatText(value.toString(), picture);
        case PictureKind::date:
        case PictureKind::time:
            break;
    }
    const auto whole = asInt32(value);
    if (!whole) return overflowMark(picture);
    return picture.kind() == PictureKind::date ? formatDate(*whole, picture)
                                               : formatTime(*whole, picture);
}

std::string formatText(std::string_view utf8, const Picture& picture) {
    if (picture.kind() == PictureKind::pattern && allDigits(trimBlanks(utf8))) {
        if (const auto out = fillPattern(trimBlanks(utf8), picture.pattern())) return *out;
    }
    return std::string(firstCharacters(utf8, picture.width()));
}

Deformatted<Decimal> deformat(std::string_view text, const Picture& picture) {
    switch (picture.kind()) {
        case PictureKind::date:
            return asDecimal(deformatDate(text, picture));
        case PictureKind::time:
            return asDecimal(deformatTime(text, picture));
        case PictureKind::pattern:
            return deformatPattern(text, picture);
        case PictureKind::number:
            return deformatNumber(text, picture);
        case PictureKind::text:
            break;
    }
    if (trimBlanks(text).empty()) return {};
    const auto value = Decimal::parse(text);
    return value ? Deformatted<Decimal>{*value} : refused(InputError::notNumber);
}

std::string inputErrorMessage(InputError error, const Picture& picture) {
    switch (error) {
        case InputError::none:
            return {};
        case InputError::notNumber:
            return "Vnos ni veljavno število.";
        case InputError::tooLarge:
            return "Število je preveliko za to polje.";
        case InputError::negative:
            return "Negativno število tu ni dovoljeno.";
        case InputError::notDate:
            return "Datum ni veljaven. Vnesite ga v obliki " +
                   formatDate(dayNumber(2024, 12, 31), picture) + ".";
        case InputError::notTime:
            return "Čas ni veljaven. Vnesite ga v obliki " +
                   formatTime(timeValue(14, 30), picture) + ".";
    }
    return {};
}

}  // namespace dv
