#pragma once

#include <cstddef>
#include <string_view>

namespace dv {

// The messages every table operation, form and list raises by id, packed as a message block.
std::string_view builtInMessageBlock();

inline constexpr std::size_t kBuiltInMessageCount = 43;

}  // namespace dv
