#pragma once

#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>

namespace dv {

// An expression that cannot be read or bound: what is wrong and where. Nothing of such an
// expression is ever applied.
class ExpressionError : public std::runtime_error {
  public:
    // `position` counts characters from 1; what() reads "<problem> at position <n>".
    ExpressionError(std::string problem, std::size_t position);

    const std::string& problem() const { return problem_; }
    std::size_t position() const { return position_; }

    // The error for the byte `offset` of the UTF-8 `text` (its character position).
    static ExpressionError at(std::string_view text, std::size_t offset, std::string problem);

  private:
    std::string problem_;
    std::size_t position_;
};

}  // namespace dv
