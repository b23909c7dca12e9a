#include "storage/FilterSqlTranslator.h"

#include <utility>

#include "data/ExpressionFields.h"
#include "storage/FilterSqlFunctions.h"
#include "storage/TableSql.h"

namespace dv {
namespace {

// Column values hold at most 18 digits; scaled values must stay within 64 bits.
constexpr int maxDigits = 18;
// Digits of the whole numbers the row functions give (lengths and positions in a text).
constexpr int functionDigits = 10;

const RecordFieldSource* fieldSource(const ExpressionNode& node) {
    if (node.kind != ExpressionNode::Kind::Name) return nullptr;
    return dynamic_cast<const RecordFieldSource*>(node.source.get());
}

int integerDigits(FieldType type) {
    switch (type) {
        case FieldType::Byte:
            return 3;
        case FieldType::Short:
        case FieldType::UShort:
            return 5;
        default:
            return 10;
    }
}

const char* sqlOperator(CompareOp op) {
    switch (op) {
        case CompareOp::Equal:
            return " = ";
        case CompareOp::NotEqual:
            return " <> ";
        case CompareOp::Less:
            return " < ";
        case CompareOp::LessEqual:
            return " <= ";
        case CompareOp::Greater:
            return " > ";
        case CompareOp::GreaterEqual:
            return " >= ";
    }
    return " = ";
}

// How a constant compared with a number column in units of 10^-places must be bound so that
// the comparison of units means the comparison of values: column < 1.2345 at 3 places is
// column < 1235 units, column <= 1.2345 is column <= 1234 units.
ParameterConversion unitsConversion(CompareOp op) {
    switch (op) {
        case CompareOp::Less:
        case CompareOp::GreaterEqual:
            return ParameterConversion::UnitsCeil;
        case CompareOp::LessEqual:
        case CompareOp::Greater:
            return ParameterConversion::UnitsFloor;
        default:
            return ParameterConversion::UnitsExact;
    }
}

SqlFragment bound(const SqlFragment& constant, ParameterConversion conversion, int places = 0) {
    SqlFragment fragment;
    fragment.shape = conversion == ParameterConversion::Text ? SqlFragment::Shape::Text
                                                             : SqlFragment::Shape::Number;
    fragment.sql = std::string(1, kParameterMarker);
    fragment.parameters.push_back(SqlParameter{constant.constant, conversion, places});
    fragment.places = places;
    fragment.digits = maxDigits;
    fragment.truth = conversion == ParameterConversion::Truth;
    return fragment;
}

SqlFragment truthFragment(std::string sql, std::vector<SqlParameter> parameters) {
    SqlFragment fragment;
    fragment.shape = SqlFragment::Shape::Number;
    fragment.sql = std::move(sql);
    fragment.parameters = std::move(parameters);
    fragment.digits = 1;
    fragment.truth = true;
    return fragment;
}

void append(std::vector<SqlParameter>& to, const std::vector<SqlParameter>& from) {
    to.insert(to.end(), from.begin(), from.end());
}

// A number fragment brought to `places` by multiplying with a power of ten, when that cannot
// overflow.
std::optional<SqlFragment> scaled(SqlFragment fragment, int places) {
    const int by = places - fragment.places;
    if (by == 0) return fragment;
    if (fragment.digits + by > maxDigits) return std::nullopt;
    fragment.sql =
        "(" + fragment.sql + " * 1" + std::string(static_cast<std::size_t>(by), '0') + ")";
    fragment.places = places;
    fragment.digits += by;
    return fragment;
}

SqlFragment comparison(const SqlFragment& left, CompareOp op, const SqlFragment& right) {
    std::vector<SqlParameter> parameters = left.parameters;
    append(parameters, right.parameters);
    return truthFragment("(" + left.sql + sqlOperator(op) + right.sql + ")", std::move(parameters));
}

}  // namespace

bool FilterSqlTranslator::isConstant(const ExpressionNode& node) const {
    if (fieldSource(node) != nullptr) return false;
    for (const auto& operand : node.operands)
        if (!isConstant(*operand)) return false;
    return true;
}

std::optional<SqlFragment> FilterSqlTranslator::condition(const ExpressionNode& node) const {
    auto fragment = translate(node);
    if (!fragment) return std::nullopt;
    switch (fragment->shape) {
        case SqlFragment::Shape::Constant:
            return bound(*fragment, ParameterConversion::Truth);
        case SqlFragment::Shape::Text:
            return truthFragment("(" + fragment->sql + " <> '')", fragment->parameters);
        case SqlFragment::Shape::Number:
            if (fragment->truth) return fragment;
            return truthFragment("(" + fragment->sql + " <> 0)", fragment->parameters);
    }
    return std::nullopt;
}

std::optional<SqlFragment> FilterSqlTranslator::translate(const ExpressionNode& node) const {
    if (isConstant(node)) {
        SqlFragment constant;
        constant.constant = &node;
        return constant;
    }
    switch (node.kind) {
        case ExpressionNode::Kind::Name:
            return column(node);
        case ExpressionNode::Kind::Call:
            return call(node);
        case ExpressionNode::Kind::Negate:
            return negate(node);
        case ExpressionNode::Kind::Not:
        case ExpressionNode::Kind::And:
        case ExpressionNode::Kind::Or:
            return logical(node);
        case ExpressionNode::Kind::Compare:
            return compare(node);
        case ExpressionNode::Kind::Literal:
            break;
    }
    return std::nullopt;
}

std::optional<SqlFragment> FilterSqlTranslator::column(const ExpressionNode& node) const {
    const RecordFieldSource* source = fieldSource(node);
    if (source == nullptr || &source->table() != &schema_.table()) return std::nullopt;
    for (const Column& column : schema_.columns()) {
        if (column.field != source->fieldIndex() || column.element != 0) continue;
        const FieldDef& field = source->field();
        SqlFragment fragment;
        fragment.sql = sqlName(column.name);
        if (column.kind == ColumnKind::Text) {
            fragment.shape = SqlFragment::Shape::Text;
            return fragment;
        }
        fragment.shape = SqlFragment::Shape::Number;
        const bool decimal = column.kind == ColumnKind::Decimal;
        fragment.places = decimal ? field.places : 0;
        fragment.digits = decimal ? field.digits : integerDigits(field.type);
        return fragment;
    }
    return std::nullopt;
}

std::optional<SqlFragment> FilterSqlTranslator::call(const ExpressionNode& node) const {
    const ExpressionFunction& function = *node.function;
    if (!function.rowFunction) return std::nullopt;
    SqlFragment result;
    std::string arguments;
    for (std::size_t i = 0; i < node.operands.size(); ++i) {
        auto argument = translate(*node.operands[i]);
        if (!argument) return std::nullopt;
        const ParameterKind kind = parameterKind(function, i);
        const bool text = kind == ParameterKind::Text;
        if (argument->shape == SqlFragment::Shape::Constant)
            argument =
                bound(*argument, text ? ParameterConversion::Text : ParameterConversion::Integer);
        else if (text != (argument->shape == SqlFragment::Shape::Text) ||
                 (!text && argument->places != 0))
            return std::nullopt;
        arguments += (i == 0 ? "" : ", ") + argument->sql;
        append(result.parameters, argument->parameters);
    }
    result.sql = sqlFunctionName(function) + "(" + arguments + ")";
    called_ = true;
    const bool textResult = function.result == ValueKind::Text;
    result.shape = textResult ? SqlFragment::Shape::Text : SqlFragment::Shape::Number;
    result.digits = textResult ? 0 : functionDigits;
    return result;
}

std::optional<SqlFragment> FilterSqlTranslator::negate(const ExpressionNode& node) const {
    auto operand = translate(*node.operands[0]);
    if (!operand || operand->shape != SqlFragment::Shape::Number) return std::nullopt;
    operand->sql = "(-" + operand->sql + ")";
    operand->truth = false;
    return operand;
}

std::optional<SqlFragment> FilterSqlTranslator::logical(const ExpressionNode& node) const {
    if (node.kind == ExpressionNode::Kind::Not) {
        auto operand = condition(*node.operands[0]);
        if (!operand) return std::nullopt;
        return truthFragment("(NOT " + operand->sql + ")", operand->parameters);
    }
    const char* joint = node.kind == ExpressionNode::Kind::And ? " AND " : " OR ";
    std::string sql;
    std::vector<SqlParameter> parameters;
    for (const auto& operand : node.operands) {
        auto part = condition(*operand);
        if (!part) return std::nullopt;
        sql += (sql.empty() ? "" : joint) + part->sql;
        append(parameters, part->parameters);
    }
    return truthFragment("(" + sql + ")", std::move(parameters));
}

std::optional<SqlFragment> FilterSqlTranslator::compare(const ExpressionNode& node) const {
    auto left = translate(*node.operands[0]);
    auto right = translate(*node.operands[1]);
    if (!left || !right) return std::nullopt;
    CompareOp op = node.op;
    if (left->shape == SqlFragment::Shape::Constant) {
        std::swap(left, right);
        op = mirrored(op);
    }
    const bool leftText = left->shape == SqlFragment::Shape::Text;
    if (right->shape == SqlFragment::Shape::Constant) {
        // A text field compared with a number is compared as a number, which SQL cannot do
        // the runtime's way.
        if (leftText && right->constant->type != ValueKind::Text) return std::nullopt;
        const SqlFragment value = leftText ? bound(*right, ParameterConversion::Text)
                                           : bound(*right, unitsConversion(op), left->places);
        return comparison(*left, op, value);
    }
    const bool rightText = right->shape == SqlFragment::Shape::Text;
    if (leftText != rightText) return std::nullopt;
    if (leftText) return comparison(*left, op, *right);
    const int places = std::max(left->places, right->places);
    auto leftScaled = scaled(std::move(*left), places);
    auto rightScaled = scaled(std::move(*right), places);
    if (!leftScaled || !rightScaled) return std::nullopt;
    return comparison(*leftScaled, op, *rightScaled);
}

}  // namespace dv
