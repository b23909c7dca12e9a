#include "storage/StoredText.h"

#include <algorithm>

#include "runtime/CodePage1250.h"
#include "runtime/TextCase.h"

namespace dv {
bool isAscii(std::string_view text) {
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

std::string storedText(std::string_view cp1250) {
    const std::string_view trimmed = trimTrailingBlanks(cp1250);
    return isAscii(trimmed) ? std::string(trimmed) : cp1250ToUtf8(trimmed);
}

std::string recordText(std::string_view utf8) {
    return isAscii(utf8) ? std::string(utf8) : utf8ToCp1250(utf8);
}

}  // namespace dv
