#pragma once

#include <string>
#include <string_view>

namespace dv {

// ASCII letters compared without regard to case (names of tables, fields, settings entries).
bool equalsIgnoreCaseAscii(std::string_view a, std::string_view b);

// Upper- and lower-casing of UTF-8 text, letter by letter: ASCII, the Slovenian č, š, ž and the
// ć, đ of the neighbours, and every other letter with a one-to-one case pair. Bytes that are not
// well-formed UTF-8 are kept as they are.
std::string upperSlovenian(std::string_view utf8);
std::string lowerSlovenian(std::string_view utf8);
// Equal after upper-casing both ("Čaša" == "čAŠA").
bool equalsIgnoreCaseSlovenian(std::string_view a, std::string_view b);

// Blanks (spaces, the padding of fixed-width text) removed from one or both ends.
std::string_view trimTrailingBlanks(std::string_view text);
std::string_view trimLeadingBlanks(std::string_view text);
std::string_view trimBlanks(std::string_view text);

}  // namespace dv
