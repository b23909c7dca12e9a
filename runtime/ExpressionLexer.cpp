#include "runtime/ExpressionLexer.h"

#include <cstdio>

#include "runtime/ExpressionError.h"
#include "runtime/TextCase.h"

namespace dv {
namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Letters of any script may appear in names (a field is called SIFRADAVČNEGAURADA).
bool startsName(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' ||
           static_cast<unsigned char>(c) >= 0x80;
}

bool continuesName(char c) {
    return startsName(c) || isDigit(c);
}

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

std::string describe(char c) {
    if (static_cast<unsigned char>(c) >= 0x20 && static_cast<unsigned char>(c) < 0x7F)
        return std::string("unexpected character '") + c + "'";
    char code[8];
    std::snprintf(code, sizeof code, "0x%02X", static_cast<unsigned char>(c));
    return std::string("unexpected character ") + code;
}

class Lexer {
  public:
    explicit Lexer(std::string_view text) : text_(text) {}

    std::vector<ExpressionToken> run() {
        std::vector<ExpressionToken> tokens;
        while (true) {
            while (at_ < text_.size() && isBlank(text_[at_])) ++at_;
            if (at_ >= text_.size()) break;
            tokens.push_back(next());
        }
        tokens.push_back(ExpressionToken{TokenKind::End, text_.size(), {}, {}, {}});
        return tokens;
    }

  private:
    char peek(std::size_t ahead = 0) const {
        return at_ + ahead < text_.size() ? text_[at_ + ahead] : '\0';
    }

    ExpressionToken token(TokenKind kind, std::size_t start) const {
        ExpressionToken result;
        result.kind = kind;
        result.offset = start;
        return result;
    }

    ExpressionToken next() {
        const char c = peek();
        if (isDigit(c) || (c == '.' && isDigit(peek(1)))) return number();
        if (c == '\'') return quoted();
        if (startsName(c)) return name();
        return symbol();
    }

    ExpressionToken number() {
        const std::size_t start = at_;
        while (isDigit(peek())) ++at_;
        if (peek() == '.') {
            ++at_;
            while (isDigit(peek())) ++at_;
        }
        if (continuesName(peek()) || peek() == '.')
            throw ExpressionError::at(text_, at_, describe(peek()) + " after a number");
        const auto value = Decimal::parse(text_.substr(start, at_ - start));
        if (!value) throw ExpressionError::at(text_, start, "number too long");
        ExpressionToken result = token(TokenKind::Number, start);
        result.number = *value;
        return result;
    }

    ExpressionToken quoted() {
        const std::size_t start = at_++;
        ExpressionToken result = token(TokenKind::Text, start);
        while (true) {
            if (at_ >= text_.size())
                throw ExpressionError::at(text_, start, "text without its closing quote");
            const char c = text_[at_++];
            if (c != '\'') {
                result.text += c;
            } else if (peek() == '\'') {
                result.text += '\'';
                ++at_;
            } else {
                return result;
            }
        }
    }

    ExpressionToken name() {
        const std::size_t start = at_;
        while (continuesName(peek())) ++at_;
        const bool prefixed = peek() == ':' && startsName(peek(1));
        if (prefixed) {
            ++at_;
            while (continuesName(peek())) ++at_;
        }
        const std::string_view word = text_.substr(start, at_ - start);
        if (!prefixed) {
            if (equalsIgnoreCaseAscii(word, "AND")) return token(TokenKind::And, start);
            if (equalsIgnoreCaseAscii(word, "OR")) return token(TokenKind::Or, start);
            if (equalsIgnoreCaseAscii(word, "NOT")) return token(TokenKind::Not, start);
        }
        ExpressionToken result = token(TokenKind::Name, start);
        result.text = std::string(word);
        return result;
    }

    ExpressionToken comparison(std::size_t start, std::size_t length, CompareOp op) {
        at_ = start + length;
        ExpressionToken result = token(TokenKind::Compare, start);
        result.op = op;
        return result;
    }

    ExpressionToken symbol() {
        const std::size_t start = at_;
        const char c = peek();
        const char following = peek(1);
        switch (c) {
            case '(':
                ++at_;
                return token(TokenKind::LeftParen, start);
            case ')':
                ++at_;
                return token(TokenKind::RightParen, start);
            case ',':
                ++at_;
                return token(TokenKind::Comma, start);
            case '-':
                ++at_;
                return token(TokenKind::Minus, start);
            case '+':
                ++at_;
                return token(TokenKind::Plus, start);
            case '=':
                if (following == '<') return comparison(start, 2, CompareOp::LessEqual);
                if (following == '>') return comparison(start, 2, CompareOp::GreaterEqual);
                return comparison(start, 1, CompareOp::Equal);
            case '<':
                if (following == '>') return comparison(start, 2, CompareOp::NotEqual);
                if (following == '=') return comparison(start, 2, CompareOp::LessEqual);
                return comparison(start, 1, CompareOp::Less);
            case '>':
                if (following == '=') return comparison(start, 2, CompareOp::GreaterEqual);
                return comparison(start, 1, CompareOp::Greater);
            case '~':
                if (following == '=') return comparison(start, 2, CompareOp::NotEqual);
                if (following == '<') return comparison(start, 2, CompareOp::GreaterEqual);
                if (following == '>') return comparison(start, 2, CompareOp::LessEqual);
                ++at_;
                return token(TokenKind::Not, start);
            default:
                throw ExpressionError::at(text_, start, describe(c));
        }
    }

    std::string_view text_;
    std::size_t at_ = 0;
};

}  // namespace

std::vector<ExpressionToken> tokenizeExpression(std::string_view text) {
    return Lexer(text).run();
}

}  // namespace dv
