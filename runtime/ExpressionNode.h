#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "runtime/ExpressionFunctions.h"
#include "runtime/ExpressionNames.h"
#include "runtime/ExpressionValue.h"

namespace dv {

// One node of a read expression.
struct ExpressionNode {
    enum class Kind : std::uint8_t {
        Literal,  // literal
        Name,     // name, source (once bound)
        Call,     // function, operands = arguments
        Negate,   // operands[0]
        Not,      // operands[0]
        Compare,  // op, operands[0] op operands[1]
        And,      // operands[0] AND operands[1] AND ... (two or more)
        Or,       // operands[0] OR operands[1] OR ... (two or more)
    };

    Kind kind = Kind::Literal;
    std::size_t offset = 0;  // byte offset of the node's first token in the expression text
    ValueKind type = ValueKind::Number;  // the kind of its value (of a name: once bound)
    ExpressionValue literal;
    std::string name;  // a name or function name as written
    CompareOp op = CompareOp::Equal;
    const ExpressionFunction* function = nullptr;
    std::vector<std::unique_ptr<ExpressionNode>> operands;
    std::unique_ptr<ValueSource> source;
};

}  // namespace dv
