#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "runtime/ExpressionValue.h"

namespace dv {

// What a function does with an argument before it runs: takes it as text, as a whole number
// (rounded half away from zero), or as it is.
enum class ParameterKind : std::uint8_t { Text, Integer, Any };

// A function that filter expressions may call.
//   UPPER(text), LOWER(text)   the text in upper or lower case (Slovenian letters included)
//   CLIP(text)                 the text without trailing blanks (as every text value already is)
//   LEN(text)                  number of characters
//   SUB(text, start, length)   `length` characters from `start` (1 the first; a negative start
//                              counts from the end, -1 the last character; 0 counts as 1)
//   NUMERIC(text)              1 when the text is a plain number (see readPlainNumber), else 0
//   INSTRING(sub, text [, step [, start]])  the step number at which `sub` first occurs in
//                              `text`, trying positions start, start + step, ... (defaults 1
//                              and 1; values below 1 count as 1); 0 when it does not occur or
//                              `sub` is empty
//   INLIST(value, item, ...)   the number of the first item equal to the value (as "=" compares
//                              them), 0 when none is
//   TODAY()                    today's day number
struct ExpressionFunction {
    std::string_view name;
    std::span<const ParameterKind> parameters;  // the last one repeats for further arguments
    int minArguments;
    int maxArguments;
    ValueKind result;
    // Its result depends on its arguments alone, which are texts or whole numbers, and it returns
    // a text or a whole number: the database can run it on a row's columns.
    bool rowFunction;
    // Takes arguments already converted to their parameter kinds.
    ExpressionValue (*call)(std::span<const ExpressionValue> arguments);
};

// The function named `name` (any letter case), or nullptr.
const ExpressionFunction* findExpressionFunction(std::string_view name);
// Every function, for registering them with the database.
std::span<const ExpressionFunction> expressionFunctions();

ParameterKind parameterKind(const ExpressionFunction& function, std::size_t argument);
// The argument as its parameter takes it.
ExpressionValue convertArgument(ParameterKind kind, const ExpressionValue& value);
// A value as a whole number, rounded half away from zero; beyond +-10^18 it is held at that.
std::int64_t integerArgument(const ExpressionValue& value);

}  // namespace dv
