#pragma once

#include <memory>
#include <string_view>

#include "runtime/ExpressionNode.h"

namespace dv {

// Reads an expression into its tree, names not yet bound. Precedence from the loosest: OR,
// AND, NOT, one comparison, unary minus and plus; parentheses group. Functions must exist and
// get a number of arguments they take. Throws ExpressionError (with the position) for anything
// it cannot read, an empty expression and nesting deeper than 100 levels included.
std::unique_ptr<ExpressionNode> parseExpression(std::string_view text);

}  // namespace dv
