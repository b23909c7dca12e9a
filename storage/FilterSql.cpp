#include "storage/FilterSql.h"

#include "storage/FilterSqlTranslator.h"

namespace dv {

FilterSql::FilterSql(const Expression& filter, const TableSchema& schema) {
    const FilterSqlTranslator translator(schema);
    split(filter.root(), translator);
    callsFunctions_ = translator.calledFunctions();
}

void FilterSql::split(const ExpressionNode& node, const FilterSqlTranslator& translator) {
    if (node.kind == ExpressionNode::Kind::And) {
        for (const auto& operand : node.operands) split(*operand, translator);
        return;
    }
    auto fragment = translator.condition(node);
    if (!fragment) {
        residual_.push_back(&node);
        return;
    }
    conditions_.push_back(std::move(fragment->sql));
    parameters_.insert(parameters_.end(), fragment->parameters.begin(), fragment->parameters.end());
}

std::string FilterSql::condition(int firstParameter, const SqlDialect& dialect) const {
    std::string sql;
    int parameter = firstParameter;
    for (const std::string& part : conditions_) {
        if (!sql.empty()) sql += " AND ";
        for (const char c : part) {
            if (c == kParameterMarker)
                sql += dialect.placeholder(parameter++);
            else
                sql += c;
        }
    }
    return sql;
}

std::vector<KeyValue> FilterSql::parameterValues() const {
    std::vector<KeyValue> values;
    values.reserve(parameters_.size());
    for (const SqlParameter& parameter : parameters_) values.push_back(parameter.value());
    return values;
}

void FilterSql::bind(SqlStatement& statement, int firstParameter) const {
    int index = firstParameter;
    for (const KeyValue& value : parameterValues()) statement.bind(index++, value);
}

bool FilterSql::residualMatches() const {
    for (const ExpressionNode* node : residual_)
        if (!evaluateNode(*node).isTrue()) return false;
    return true;
}

}  // namespace dv
