#pragma once

#include <string>

namespace dv {

// The post code and place of the partner in the SFPARTN buffer on one line ("1000  Ljubljana").
std::string partnerPostAndPlace();

// The partner's telephone, fax and responsible person on one line, each with its label and only
// when given ("tel.: 01 234 56 78 faks: 01 234 56 79 odgovorna oseba: Ana Kos").
std::string partnerContactLine();

// The key a name is compared by in a range of names: its letters in capitals, ordered the
// Slovenian way ("Č" after "C", "Š" after "S", "Ž" after "Z") by byte comparison.
std::string nameOrderKey(std::string_view name);

}  // namespace dv
