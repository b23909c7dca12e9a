#include "runtime/ExpressionError.h"

#include <algorithm>

namespace dv {

ExpressionError::ExpressionError(std::string problem, std::size_t position)
    : std::runtime_error(problem + " at position " + std::to_string(position)),
      problem_(std::move(problem)),
      position_(position) {}

ExpressionError ExpressionError::at(std::string_view text, std::size_t offset,
                                    std::string problem) {
    const std::string_view before = text.substr(0, std::min(offset, text.size()));
    // Every byte that is not a UTF-8 continuation byte starts a character.
    const auto characters = std::count_if(before.begin(), before.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    });
    return ExpressionError(std::move(problem), static_cast<std::size_t>(characters) + 1);
}

}  // namespace dv
