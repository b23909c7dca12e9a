#include "runtime/ExpressionFunctions.h"

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "runtime/Date.h"
#include "runtime/TextCase.h"

namespace dv {
namespace {

constexpr std::int64_t integerLimit = 1'000'000'000'000'000'000;

bool isContinuationByte(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

// Byte offsets at which the characters of a UTF-8 text start, and its size at the end.
std::vector<std::size_t> characterStarts(std::string_view text) {
    std::vector<std::size_t> starts;
    for (std::size_t i = 0; i < text.size(); ++i)
        if (!isContinuationByte(text[i])) starts.push_back(i);
    starts.push_back(text.size());
    return starts;
}

std::int64_t characterCount(std::string_view text) {
    return static_cast<std::int64_t>(characterStarts(text).size()) - 1;
}

ExpressionValue number(std::int64_t value) {
    return ExpressionValue::number(Decimal(value));
}

std::int64_t integerAt(std::span<const ExpressionValue> arguments, std::size_t index,
                       std::int64_t fallback) {
    return index < arguments.size() ? integerArgument(arguments[index]) : fallback;
}

ExpressionValue upper(std::span<const ExpressionValue> arguments) {
    return ExpressionValue::text(upperSlovenian(arguments[0].toText()));
}

ExpressionValue lower(std::span<const ExpressionValue> arguments) {
    return ExpressionValue::text(lowerSlovenian(arguments[0].toText()));
}

ExpressionValue clip(std::span<const ExpressionValue> arguments) {
    return ExpressionValue::text(arguments[0].toText());
}

ExpressionValue length(std::span<const ExpressionValue> arguments) {
    return number(characterCount(arguments[0].toText()));
}

ExpressionValue sub(std::span<const ExpressionValue> arguments) {
    const std::string text = arguments[0].toText();
    const std::vector<std::size_t> starts = characterStarts(text);
    const std::int64_t count = static_cast<std::int64_t>(starts.size()) - 1;
    const std::int64_t start = integerArgument(arguments[1]);
    const std::int64_t wanted = integerArgument(arguments[2]);
    if (wanted <= 0) return ExpressionValue::text("");
    const std::int64_t first = start > 0 ? start - 1 : (start < 0 ? count + start : 0);
    const std::int64_t begin = std::clamp<std::int64_t>(first, 0, count);
    const std::int64_t end = std::clamp<std::int64_t>(first + wanted, 0, count);
    if (end <= begin) return ExpressionValue::text("");
    const std::size_t from = starts[static_cast<std::size_t>(begin)];
    const std::size_t to = starts[static_cast<std::size_t>(end)];
    return ExpressionValue::text(std::string_view(text).substr(from, to - from));
}

ExpressionValue numeric(std::span<const ExpressionValue> arguments) {
    return ExpressionValue::truth(readPlainNumber(arguments[0].toText()).has_value());
}

ExpressionValue instring(std::span<const ExpressionValue> arguments) {
    const std::string wanted = arguments[0].toText();
    const std::string text = arguments[1].toText();
    const std::int64_t step = std::max<std::int64_t>(integerAt(arguments, 2, 1), 1);
    const std::int64_t start = std::max<std::int64_t>(integerAt(arguments, 3, 1), 1);
    if (wanted.empty()) return number(0);
    const std::vector<std::size_t> starts = characterStarts(text);
    const std::int64_t count = static_cast<std::int64_t>(starts.size()) - 1;
    for (std::int64_t position = start; position <= count; position += step) {
        const std::size_t from = starts[static_cast<std::size_t>(position - 1)];
        if (std::string_view(text).substr(from).starts_with(wanted))
            return number((position - 1) / step + 1);
    }
    return number(0);
}

ExpressionValue inlist(std::span<const ExpressionValue> arguments) {
    for (std::size_t i = 1; i < arguments.size(); ++i)
        if (compareValues(arguments[0], CompareOp::Equal, arguments[i]))
            return number(static_cast<std::int64_t>(i));
    return number(0);
}

ExpressionValue todayFunction(std::span<const ExpressionValue>) {
    return number(today());
}

constexpr std::array<ParameterKind, 1> oneText{ParameterKind::Text};
constexpr std::array<ParameterKind, 3> subParameters{ParameterKind::Text, ParameterKind::Integer,
                                                     ParameterKind::Integer};
constexpr std::array<ParameterKind, 4> instringParameters{
    ParameterKind::Text, ParameterKind::Text, ParameterKind::Integer, ParameterKind::Integer};
constexpr std::array<ParameterKind, 1> anything{ParameterKind::Any};

constexpr int manyArguments = 255;

const std::array functions{
    ExpressionFunction{"UPPER", oneText, 1, 1, ValueKind::Text, true, upper},
    ExpressionFunction{"LOWER", oneText, 1, 1, ValueKind::Text, true, lower},
    ExpressionFunction{"CLIP", oneText, 1, 1, ValueKind::Text, true, clip},
    ExpressionFunction{"LEN", oneText, 1, 1, ValueKind::Number, true, length},
    ExpressionFunction{"SUB", subParameters, 3, 3, ValueKind::Text, true, sub},
    ExpressionFunction{"NUMERIC", oneText, 1, 1, ValueKind::Number, true, numeric},
    ExpressionFunction{"INSTRING", instringParameters, 2, 4, ValueKind::Number, true, instring},
    ExpressionFunction{"INLIST", anything, 2, manyArguments, ValueKind::Number, false, inlist},
    ExpressionFunction{"TODAY", {}, 0, 0, ValueKind::Number, false, todayFunction},
};

}  // namespace

const ExpressionFunction* findExpressionFunction(std::string_view name) {
    for (const ExpressionFunction& function : functions)
        if (equalsIgnoreCaseAscii(function.name, name)) return &function;
    return nullptr;
}

std::span<const ExpressionFunction> expressionFunctions() {
    return functions;
}

ParameterKind parameterKind(const ExpressionFunction& function, std::size_t argument) {
    if (function.parameters.empty()) return ParameterKind::Any;
    return function.parameters[std::min(argument, function.parameters.size() - 1)];
}

ExpressionValue convertArgument(ParameterKind kind, const ExpressionValue& value) {
    switch (kind) {
        case ParameterKind::Text:
            return value.isText() ? value : ExpressionValue::text(value.toText());
        case ParameterKind::Integer:
            return number(integerArgument(value));
        case ParameterKind::Any:
            break;
    }
    return value;
}

std::int64_t integerArgument(const ExpressionValue& value) {
    const Decimal number = value.toNumber();
    if (const auto units = number.fieldUnits(18, 0)) return *units;
    return number.sign() < 0 ? -integerLimit : integerLimit;
}

}  // namespace dv
