#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/Decimal.h"
#include "runtime/ExpressionValue.h"

namespace dv {

enum class TokenKind : std::uint8_t {
    End,
    Number,
    Text,
    Name,
    LeftParen,
    RightParen,
    Comma,
    Compare,
    And,
    Or,
    Not,
    Minus,
    Plus,
};

struct ExpressionToken {
    TokenKind kind = TokenKind::End;
    std::size_t offset = 0;  // byte offset in the expression
    std::string text;        // a name as written, or the characters of a text literal
    Decimal number;
    CompareOp op = CompareOp::Equal;
};

// Splits an expression into its tokens, the last one End. Names are a letter or "_" followed by
// letters, digits and "_", optionally a prefix and a colon ("INVENDET:Skupina", "GLO:OdSkupine");
// AND, OR and NOT in any letter case are keywords; texts are in single quotes, a quote inside
// written twice; numbers are digits with an optional "." and decimals. Comparisons: = <> < > <=
// >= and the runtime's spellings =< => ~= ~< (not less) ~> (not greater); "~" alone is NOT.
// Throws ExpressionError at the first character that fits none of these.
std::vector<ExpressionToken> tokenizeExpression(std::string_view text);

}  // namespace dv
