#pragma once

#include <string>
#include <string_view>

namespace dv {

// Windows code page 1250 (Central European), the encoding of the suite's files and settings.
// Inside the program text is UTF-8; these convert at the edges.

// Every byte to its character. The five bytes the code page leaves undefined (0x81, 0x83, 0x88,
// 0x90, 0x98) become U+FFFD REPLACEMENT CHARACTER, so that a stray byte stays visible as such.
std::string cp1250ToUtf8(std::string_view cp1250);

// Every character to its byte. A character the code page does not hold, and every malformed
// UTF-8 sequence (one per maximal invalid subpart), becomes `replacement`.
std::string utf8ToCp1250(std::string_view utf8, char replacement = '?');

// True when the text is well-formed UTF-8 (no overlong forms, no surrogates, nothing above
// U+10FFFF, no truncated sequence).
bool isValidUtf8(std::string_view text);

}  // namespace dv
