#include "data/FieldValidation.h"

#include <algorithm>
#include <string>

#include "data/FieldAccess.h"
#include "runtime/CodePage1250.h"
#include "runtime/TextCase.h"

namespace dv {
namespace {

const FieldRule* ruleOf(const TableDef& table, int field) {
    for (const FieldRule& rule : table.rules)
        if (rule.field == field) return &rule;
    return nullptr;
}

bool isText(FieldType type) {
    return type == FieldType::String || type == FieldType::CString || type == FieldType::Memo;
}

// The stored value as the allowed codes are written: UTF-8 text without trailing blanks, or the
// integer's digits.
std::string storedCode(const void* record, const FieldDef& field) {
    if (isText(field.type)) return cp1250ToUtf8(trimTrailingBlanks(readText(record, field)));
    return std::to_string(readInteger(record, field));
}

}  // namespace

std::optional<FieldCheckFailure> CheckField(const TableDef& table, const void* record, int field) {
    const FieldRule* rule = ruleOf(table, field);
    if (!rule) return std::nullopt;
    const std::string code = storedCode(record, table.fields[static_cast<std::size_t>(field)]);
    if (std::find(rule->allowed.begin(), rule->allowed.end(), code) != rule->allowed.end())
        return std::nullopt;
    return FieldCheckFailure{field, FieldCheckMessage::NotInList, rule->fieldText, rule->labels};
}

std::optional<FieldCheckFailure> CheckRecord(const TableDef& table, const void* record,
                                             int firstField) {
    for (int field = std::max(firstField, 0); field < static_cast<int>(table.fields.size());
         ++field)
        if (auto failure = CheckField(table, record, field)) return failure;
    return std::nullopt;
}

}  // namespace dv
