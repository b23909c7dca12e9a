#pragma once

#include <string>
#include <string_view>

namespace dv {

// True when every byte is ASCII: such text is the same in code page 1250 and UTF-8.
bool isAscii(std::string_view text);

// Record text (code page 1250, blank padded) as the drivers store it: UTF-8 without trailing
// blanks. ASCII text passes unchanged.
std::string storedText(std::string_view cp1250);
// Stored UTF-8 text back to code page 1250 for the record (characters the code page lacks
// become '?').
std::string recordText(std::string_view utf8);

}  // namespace dv
