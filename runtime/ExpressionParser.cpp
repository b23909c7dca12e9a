#include "runtime/ExpressionParser.h"

#include <string>
#include <utility>
#include <vector>

#include "runtime/ExpressionError.h"
#include "runtime/ExpressionLexer.h"

namespace dv {
namespace {

constexpr int maxDepth = 100;

using NodePtr = std::unique_ptr<ExpressionNode>;

NodePtr makeNode(ExpressionNode::Kind kind, std::size_t offset) {
    auto node = std::make_unique<ExpressionNode>();
    node->kind = kind;
    node->offset = offset;
    return node;
}

NodePtr makeOperation(ExpressionNode::Kind kind, std::size_t offset, NodePtr left,
                      NodePtr right = nullptr) {
    NodePtr node = makeNode(kind, offset);
    node->operands.push_back(std::move(left));
    if (right) node->operands.push_back(std::move(right));
    return node;
}

std::string describe(const ExpressionToken& token) {
    switch (token.kind) {
        case TokenKind::End:
            return "the end of the expression";
        case TokenKind::Number:
            return "a number";
        case TokenKind::Text:
            return "a text";
        case TokenKind::Name:
            return "'" + token.text + "'";
        case TokenKind::LeftParen:
            return "'('";
        case TokenKind::RightParen:
            return "')'";
        case TokenKind::Comma:
            return "','";
        case TokenKind::Compare:
            return "a comparison";
        case TokenKind::And:
            return "AND";
        case TokenKind::Or:
            return "OR";
        case TokenKind::Not:
            return "NOT";
        case TokenKind::Minus:
            return "'-'";
        case TokenKind::Plus:
            return "'+'";
    }
    return "a token";
}

class Parser {
  public:
    explicit Parser(std::string_view text) : text_(text), tokens_(tokenizeExpression(text)) {}

    NodePtr run() {
        if (current().kind == TokenKind::End)
            throw ExpressionError::at(text_, 0, "the expression is empty");
        NodePtr root = disjunction();
        if (current().kind != TokenKind::End) fail("expected AND, OR or an operator, found");
        return root;
    }

  private:
    const ExpressionToken& current() const { return tokens_[at_]; }
    const ExpressionToken& take() { return tokens_[at_++]; }

    [[noreturn]] void fail(const std::string& problem) const {
        throw ExpressionError::at(text_, current().offset, problem + " " + describe(current()));
    }

    void expect(TokenKind kind, const char* what) {
        if (current().kind != kind) fail(std::string("expected ") + what + ", found");
        ++at_;
    }

    // Guards the recursion against input nested deeply enough to exhaust the stack.
    class Level {
      public:
        explicit Level(Parser& parser) : parser_(parser) {
            if (++parser_.depth_ > maxDepth)
                throw ExpressionError::at(parser_.text_, parser_.current().offset,
                                          "the expression is nested too deeply");
        }
        ~Level() { --parser_.depth_; }
        Level(const Level&) = delete;
        Level& operator=(const Level&) = delete;

      private:
        Parser& parser_;
    };

    // A chain "a OR b OR c" is one node with all its operands, so that long chains do not
    // make the tree deep.
    template <typename Operand>
    NodePtr chain(TokenKind separator, ExpressionNode::Kind kind, Operand operand) {
        NodePtr first = (this->*operand)();
        if (current().kind != separator) return first;
        NodePtr node = makeNode(kind, first->offset);
        node->operands.push_back(std::move(first));
        while (current().kind == separator) {
            ++at_;
            node->operands.push_back((this->*operand)());
        }
        return node;
    }

    NodePtr disjunction() {
        return chain(TokenKind::Or, ExpressionNode::Kind::Or, &Parser::conjunction);
    }

    NodePtr conjunction() {
        return chain(TokenKind::And, ExpressionNode::Kind::And, &Parser::negation);
    }

    NodePtr negation() {
        if (current().kind != TokenKind::Not) return comparison();
        Level level(*this);
        const std::size_t offset = take().offset;
        return makeOperation(ExpressionNode::Kind::Not, offset, negation());
    }

    NodePtr comparison() {
        NodePtr left = unary();
        if (current().kind != TokenKind::Compare) return left;
        const ExpressionToken& token = take();
        NodePtr node =
            makeOperation(ExpressionNode::Kind::Compare, token.offset, std::move(left), unary());
        node->op = token.op;
        if (current().kind == TokenKind::Compare)
            fail("a comparison cannot compare another one; use AND or parentheses before");
        return node;
    }

    NodePtr unary() {
        const TokenKind kind = current().kind;
        if (kind != TokenKind::Minus && kind != TokenKind::Plus) return primary();
        Level level(*this);
        const std::size_t offset = take().offset;
        NodePtr operand = unary();
        if (kind == TokenKind::Plus) return operand;
        return makeOperation(ExpressionNode::Kind::Negate, offset, std::move(operand));
    }

    NodePtr primary() {
        const ExpressionToken& token = current();
        switch (token.kind) {
            case TokenKind::Number:
            case TokenKind::Text:
                return literal(take());
            case TokenKind::Name:
                return nameOrCall();
            case TokenKind::LeftParen:
                return parenthesised();
            default:
                fail("expected a value, found");
        }
    }

    NodePtr literal(const ExpressionToken& token) {
        NodePtr node = makeNode(ExpressionNode::Kind::Literal, token.offset);
        node->literal = token.kind == TokenKind::Number ? ExpressionValue::number(token.number)
                                                        : ExpressionValue::text(token.text);
        node->type = node->literal.kind();
        return node;
    }

    NodePtr parenthesised() {
        Level level(*this);
        ++at_;
        NodePtr inner = disjunction();
        expect(TokenKind::RightParen, "')'");
        return inner;
    }

    NodePtr nameOrCall() {
        const ExpressionToken& token = take();
        if (current().kind != TokenKind::LeftParen) {
            NodePtr node = makeNode(ExpressionNode::Kind::Name, token.offset);
            node->name = token.text;
            return node;
        }
        const ExpressionFunction* function = findExpressionFunction(token.text);
        if (function == nullptr)
            throw ExpressionError::at(text_, token.offset, "unknown function " + token.text);
        NodePtr node = makeNode(ExpressionNode::Kind::Call, token.offset);
        node->name = token.text;
        node->function = function;
        node->type = function->result;
        arguments(*node);
        return node;
    }

    void arguments(ExpressionNode& call) {
        Level level(*this);
        ++at_;  // "("
        if (current().kind != TokenKind::RightParen) {
            call.operands.push_back(disjunction());
            while (current().kind == TokenKind::Comma) {
                ++at_;
                call.operands.push_back(disjunction());
            }
        }
        expect(TokenKind::RightParen, "',' or ')'");
        const int count = static_cast<int>(call.operands.size());
        const ExpressionFunction& function = *call.function;
        if (count < function.minArguments || count > function.maxArguments)
            throw ExpressionError::at(text_, call.offset, arityProblem(function, count));
    }

    static std::string arityProblem(const ExpressionFunction& function, int count) {
        std::string wanted = std::to_string(function.minArguments);
        if (function.maxArguments != function.minArguments)
            wanted += " to " + std::to_string(function.maxArguments);
        return std::string(function.name) + " takes " + wanted + " argument" +
               (function.maxArguments == 1 ? "" : "s") + ", not " + std::to_string(count);
    }

    std::string_view text_;
    std::vector<ExpressionToken> tokens_;
    std::size_t at_ = 0;
    int depth_ = 0;
};

}  // namespace

std::unique_ptr<ExpressionNode> parseExpression(std::string_view text) {
    return Parser(text).run();
}

}  // namespace dv
