#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "runtime/ExpressionNames.h"
#include "runtime/ExpressionNode.h"
#include "runtime/ExpressionValue.h"

namespace dv {

// A filter or condition expression, read and bound once, evaluated as often as needed:
//
//   INVENDET:Skupina >= GLO:OdSkupine AND INVENDET:Skupina <= GLO:DoSkupine
//   (DOKPROME:PrometNaZalogo = '+' or DOKPROME:PrometNaZalogo = '-')
//   numeric(sub(INVASCI:EANkoda,1,1))
//
// Every name is bound when the expression is compiled, to the place its value lives; the values
// themselves are read at each evaluation. See ExpressionValue for the values and comparisons,
// ExpressionLexer for the notation, ExpressionFunctions for the functions.
class Expression {
  public:
    // Reads `text` and binds its names through `names`. Throws ExpressionError for text it
    // cannot read and for a name `names` does not know; nothing is kept of such an expression.
    static Expression compile(std::string_view text, const NameResolver& names);

    Expression(Expression&&) noexcept = default;
    Expression& operator=(Expression&&) noexcept = default;

    const std::string& text() const { return text_; }
    const ExpressionNode& root() const { return *root_; }

    ExpressionValue evaluate() const;
    // Whether the value is true (a number not zero, a text not blank).
    bool isTrue() const { return evaluate().isTrue(); }

  private:
    Expression(std::string text, std::unique_ptr<ExpressionNode> root)
        : text_(std::move(text)), root_(std::move(root)) {}

    std::string text_;
    std::unique_ptr<ExpressionNode> root_;
};

// The value of one node of a bound expression.
ExpressionValue evaluateNode(const ExpressionNode& node);

// `text` as a text literal of an expression: in single quotes, each quote doubled. The way to
// put what a user typed into an expression: it stays one value, whatever it holds.
std::string quoteExpressionText(std::string_view text);

}  // namespace dv
