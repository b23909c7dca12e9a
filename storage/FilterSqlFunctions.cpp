#include "storage/FilterSqlFunctions.h"

#include <sqlite3.h>

#include <exception>
#include <string_view>
#include <vector>

namespace dv {
namespace {

ExpressionValue argumentFromSql(ParameterKind kind, sqlite3_value* value) {
    if (kind == ParameterKind::Integer)
        return ExpressionValue::number(Decimal(sqlite3_value_int64(value)));
    const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(value));
    const int bytes = sqlite3_value_bytes(value);
    return ExpressionValue::text(text == nullptr
                                     ? std::string_view()
                                     : std::string_view(text, static_cast<std::size_t>(bytes)));
}

void resultToSql(sqlite3_context* context, const ExpressionValue& result) {
    if (result.isText()) {
        const std::string text = result.toText();
        sqlite3_result_text64(context, text.data(), text.size(), SQLITE_TRANSIENT, SQLITE_UTF8);
        return;
    }
    const auto whole = result.toNumber().fieldUnits(18, 0);
    if (whole)
        sqlite3_result_int64(context, *whole);
    else
        sqlite3_result_error(context, "an expression function gave no whole number", -1);
}

void callFromSql(sqlite3_context* context, int count, sqlite3_value** values) {
    const auto& function = *static_cast<const ExpressionFunction*>(sqlite3_user_data(context));
    try {
        std::vector<ExpressionValue> arguments;
        arguments.reserve(static_cast<std::size_t>(count));
        for (int i = 0; i < count; ++i)
            arguments.push_back(
                argumentFromSql(parameterKind(function, static_cast<std::size_t>(i)), values[i]));
        resultToSql(context, function.call(arguments));
    } catch (const std::exception& failure) {
        sqlite3_result_error(context, failure.what(), -1);
    }
}

}  // namespace

std::string sqlFunctionName(const ExpressionFunction& function) {
    return "DV_" + std::string(function.name);
}

int registerExpressionFunctions(sqlite3* db) {
    constexpr int flags = SQLITE_UTF8 | SQLITE_DETERMINISTIC | SQLITE_INNOCUOUS;
    for (const ExpressionFunction& function : expressionFunctions()) {
        if (!function.rowFunction) continue;
        const std::string name = sqlFunctionName(function);
        for (int arguments = function.minArguments; arguments <= function.maxArguments;
             ++arguments) {
            const int result = sqlite3_create_function_v2(
                db, name.c_str(), arguments, flags, const_cast<ExpressionFunction*>(&function),
                callFromSql, nullptr, nullptr, nullptr);
            if (result != SQLITE_OK) return result;
        }
    }
    return SQLITE_OK;
}

}  // namespace dv
