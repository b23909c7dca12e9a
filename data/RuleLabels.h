#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "data/TableDef.h"

namespace dv {

// The labels of a field rule's allowed codes, in the order of the codes, as written between the
// single quotes of the rule ("'  Prodaja na DROBNO','  Prodaja na DEBELO'"); leading blanks kept.
std::vector<std::string> ruleLabels(const FieldRule& rule);

// The rule of a field of the table, nullptr when the field has none.
const FieldRule* fieldRule(const TableDef& table, int field);

// The label the field's rule gives `code`, without leading and trailing blanks; nothing when the
// field has no rule or the rule does not allow the code. Reports print it for a stored code.
std::optional<std::string> codeLabel(const TableDef& table, int field, std::string_view code);

}  // namespace dv
