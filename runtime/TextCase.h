#pragma once

#include <string_view>

namespace dv {

// ASCII letters compared without regard to case (names of tables, fields, settings entries).
bool equalsIgnoreCaseAscii(std::string_view a, std::string_view b);

}  // namespace dv
