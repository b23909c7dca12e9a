#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <utility>

namespace dv::fuzz {

// The fuzzer's bytes as text.
inline std::string_view asText(const std::uint8_t* data, std::size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

// The text up to its first line break and the rest after it; for targets that take two inputs
// (a picture and what is typed into it).
inline std::pair<std::string_view, std::string_view> splitFirstLine(std::string_view text) {
    const std::size_t end = text.find('\n');
    if (end == std::string_view::npos) return {text, {}};
    return {text.substr(0, end), text.substr(end + 1)};
}

}  // namespace dv::fuzz
