#include "runtime/ExpressionValue.h"

#include "runtime/TextCase.h"

namespace dv {

ExpressionValue ExpressionValue::number(const Decimal& value) {
    ExpressionValue result;
    result.number_ = value;
    return result;
}

ExpressionValue ExpressionValue::text(std::string_view utf8) {
    ExpressionValue result;
    result.kind_ = ValueKind::Text;
    result.text_ = std::string(trimTrailingBlanks(utf8));
    return result;
}

Decimal ExpressionValue::toNumber() const {
    if (isNumber()) return number_;
    return readPlainNumber(text_).value_or(Decimal());
}

std::string ExpressionValue::toText() const {
    return isText() ? text_ : number_.toString();
}

bool ExpressionValue::isTrue() const {
    return isNumber() ? !number_.isZero() : !text_.empty();
}

CompareOp mirrored(CompareOp op) {
    switch (op) {
        case CompareOp::Less:
            return CompareOp::Greater;
        case CompareOp::LessEqual:
            return CompareOp::GreaterEqual;
        case CompareOp::Greater:
            return CompareOp::Less;
        case CompareOp::GreaterEqual:
            return CompareOp::LessEqual;
        default:
            return op;
    }
}

bool satisfies(std::strong_ordering order, CompareOp op) {
    switch (op) {
        case CompareOp::Equal:
            return order == 0;
        case CompareOp::NotEqual:
            return order != 0;
        case CompareOp::Less:
            return order < 0;
        case CompareOp::LessEqual:
            return order <= 0;
        case CompareOp::Greater:
            return order > 0;
        case CompareOp::GreaterEqual:
            return order >= 0;
    }
    return false;
}

std::strong_ordering compareValues(const ExpressionValue& a, const ExpressionValue& b) {
    if (a.isNumber() || b.isNumber()) return a.toNumber() <=> b.toNumber();
    // std::string compares its characters as unsigned bytes, which orders UTF-8 by code point.
    const int order = a.toText().compare(b.toText());
    return order < 0 ? std::strong_ordering::less
                     : (order > 0 ? std::strong_ordering::greater : std::strong_ordering::equal);
}

bool compareValues(const ExpressionValue& a, CompareOp op, const ExpressionValue& b) {
    return satisfies(compareValues(a, b), op);
}

std::optional<Decimal> readPlainNumber(std::string_view text) {
    const std::string_view trimmed = trimBlanks(text);
    std::size_t at = 0;
    if (at < trimmed.size() && (trimmed[at] == '-' || trimmed[at] == '+')) ++at;
    bool digits = false;
    bool point = false;
    for (; at < trimmed.size(); ++at) {
        const char c = trimmed[at];
        if (c >= '0' && c <= '9') {
            digits = true;
        } else if (c == '.' && !point) {
            point = true;
        } else {
            return std::nullopt;
        }
    }
    if (!digits) return std::nullopt;
    return Decimal::parse(trimmed);
}

}  // namespace dv
