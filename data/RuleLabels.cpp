#include "data/RuleLabels.h"

namespace dv {

std::vector<std::string> ruleLabels(const FieldRule& rule) {
    std::vector<std::string> labels;
    std::string_view text = rule.labels;
    while (true) {
        const std::size_t open = text.find('\'');
        if (open == std::string_view::npos) return labels;
        const std::size_t close = text.find('\'', open + 1);
        if (close == std::string_view::npos) return labels;
        labels.emplace_back(text.substr(open + 1, close - open - 1));
        text.remove_prefix(close + 1);
    }
}

const FieldRule* fieldRule(const TableDef& table, int field) {
    for (const FieldRule& rule : table.rules)
        if (rule.field == field) return &rule;
    return nullptr;
}

std::optional<std::string> codeLabel(const TableDef& table, int field, std::string_view code) {
    const FieldRule* rule = fieldRule(table, field);
    if (rule == nullptr) return std::nullopt;
    const std::vector<std::string> labels = ruleLabels(*rule);
    for (std::size_t i = 0; i < rule->allowed.size() && i < labels.size(); ++i) {
        if (rule->allowed[i] != code) continue;
        const std::string& label = labels[i];
        const std::size_t first = label.find_first_not_of(' ');
        if (first == std::string::npos) return std::string();
        return label.substr(first, label.find_last_not_of(' ') - first + 1);
    }
    return std::nullopt;
}

}  // namespace dv
