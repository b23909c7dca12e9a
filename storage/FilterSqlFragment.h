#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "runtime/ExpressionNode.h"
#include "storage/TableDriver.h"

namespace dv {

// How the value of a constant part of a filter becomes a parameter of its SQL condition.
enum class ParameterConversion : std::uint8_t {
    Text,        // the text (a number as its decimal text)
    Integer,     // a whole number, as a function takes it
    Truth,       // 1 or 0
    UnitsExact,  // units of 10^-places; a value between two units matches no column value
    UnitsFloor,  // the largest units not above the value
    UnitsCeil,   // the smallest units not below the value
};

// A parameter of an SQL condition: a part of the expression without fields of the table
// (literals, GLO:/LOC: variables, TODAY()), evaluated each time the condition is bound.
struct SqlParameter {
    const ExpressionNode* node;
    ParameterConversion conversion;
    int places;

    KeyValue value() const;
};

// The marker of a parameter in the text of a fragment; numbered when the condition is rendered.
inline constexpr char kParameterMarker = '\x01';

// A part of an expression as SQL. Numbers are whole-number SQL values in units of 10^-places
// (as decimal columns hold them) below 10^digits in magnitude; texts are UTF-8 without trailing
// blanks; truth values are numbers 0 or 1. A constant has no SQL of its own until the context
// says how it is bound.
struct SqlFragment {
    enum class Shape : std::uint8_t { Constant, Number, Text };

    Shape shape = Shape::Constant;
    std::string sql;
    std::vector<SqlParameter> parameters;
    int places = 0;
    int digits = 0;
    bool truth = false;  // a number that is always 0 or 1 (a comparison, AND, OR, NOT)
    const ExpressionNode* constant = nullptr;
};

}  // namespace dv
