#pragma once

#include <compare>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "runtime/Decimal.h"

namespace dv {

// What an expression value holds. Integers, day numbers, times and truth values are numbers.
enum class ValueKind : std::uint8_t { Number, Text };

// One value of a filter expression: an exact decimal number or a UTF-8 text. Trailing blanks of
// a text carry no meaning (fixed-width fields are blank padded), so a text value never keeps
// them: "AB  " and "AB" are the same value.
class ExpressionValue {
  public:
    ExpressionValue() = default;
    static ExpressionValue number(const Decimal& value);
    static ExpressionValue text(std::string_view utf8);
    static ExpressionValue truth(bool value) { return number(value ? 1 : 0); }

    ValueKind kind() const { return kind_; }
    bool isNumber() const { return kind_ == ValueKind::Number; }
    bool isText() const { return kind_ == ValueKind::Text; }

    // The number as it is, or a text read as a number: a blank text is 0, a plain number
    // ("12", "-1.5", " 7 ") its value, any other text 0.
    Decimal toNumber() const;
    // The text as it is, or a number as its decimal text with all its places ("12.500").
    std::string toText() const;
    // A number is true when it is not zero, a text when it is not blank.
    bool isTrue() const;

    friend bool operator==(const ExpressionValue&, const ExpressionValue&) = default;

  private:
    ValueKind kind_ = ValueKind::Number;
    Decimal number_;
    std::string text_;
};

enum class CompareOp : std::uint8_t { Equal, NotEqual, Less, LessEqual, Greater, GreaterEqual };

// The comparison with its operands swapped: a < b is b > a.
CompareOp mirrored(CompareOp op);
// Whether an ordering satisfies the comparison.
bool satisfies(std::strong_ordering order, CompareOp op);

// How two values compare. When either is a number both are compared as numbers (a text read as
// by toNumber); two texts compare character by character in Unicode order with case
// significant (the byte order of their UTF-8), trailing blanks ignored.
std::strong_ordering compareValues(const ExpressionValue& a, const ExpressionValue& b);
bool compareValues(const ExpressionValue& a, CompareOp op, const ExpressionValue& b);

// A plain number: blanks around it, an optional sign, digits with an optional "." and decimals
// ("7", "-1.5", ".5", "3."). Nothing for anything else, a blank text included.
std::optional<Decimal> readPlainNumber(std::string_view text);

}  // namespace dv
