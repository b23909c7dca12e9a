#include "runtime/TextCase.h"

#include <unicode/uchar.h>
#include <unicode/utf8.h>

#include <cstdint>

namespace dv {
namespace {

char lowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}
char upperAscii(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

// Maps every character of the text through the given ASCII and Unicode case functions.
template <typename AsciiMap, typename CodePointMap>
std::string mapCase(std::string_view utf8, AsciiMap ascii, CodePointMap codePoint) {
    std::string out;
    out.reserve(utf8.size());
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(utf8.data());
    const auto length = static_cast<std::int32_t>(utf8.size());
    std::int32_t i = 0;
    while (i < length) {
        if (bytes[i] < 0x80) {
            out += ascii(utf8[static_cast<std::size_t>(i++)]);
            continue;
        }
        const std::int32_t start = i;
        UChar32 c = 0;
        U8_NEXT(bytes, i, length, c);
        if (c < 0) {
            out.append(
                utf8.substr(static_cast<std::size_t>(start), static_cast<std::size_t>(i - start)));
            continue;
        }
        char encoded[U8_MAX_LENGTH];
        std::int32_t n = 0;
        U8_APPEND_UNSAFE(reinterpret_cast<std::uint8_t*>(encoded), n, codePoint(c));
        out.append(encoded, static_cast<std::size_t>(n));
    }
    return out;
}

}  // namespace

bool equalsIgnoreCaseAscii(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (lowerAscii(a[i]) != lowerAscii(b[i])) return false;
    return true;
}

std::string upperSlovenian(std::string_view utf8) {
    return mapCase(utf8, upperAscii, [](UChar32 c) { return u_toupper(c); });
}

std::string lowerSlovenian(std::string_view utf8) {
    return mapCase(utf8, lowerAscii, [](UChar32 c) { return u_tolower(c); });
}

bool equalsIgnoreCaseSlovenian(std::string_view a, std::string_view b) {
    return upperSlovenian(a) == upperSlovenian(b);
}

std::string_view trimTrailingBlanks(std::string_view text) {
    const auto end = text.find_last_not_of(' ');
    return end == std::string_view::npos ? std::string_view{} : text.substr(0, end + 1);
}

std::string_view trimLeadingBlanks(std::string_view text) {
    const auto start = text.find_first_not_of(' ');
    return start == std::string_view::npos ? std::string_view{} : text.substr(start);
}

std::string_view trimBlanks(std::string_view text) {
    return trimLeadingBlanks(trimTrailingBlanks(text));
}

}  // namespace dv
