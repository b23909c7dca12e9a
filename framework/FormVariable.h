#pragma once

#include <optional>
#include <string_view>

#include "data/TableDef.h"
#include "runtime/ExpressionValue.h"
#include "runtime/ExpressionVariable.h"

namespace dv {

// The variable a control of a form edits, as its name says: a field of a table's record buffer
// ("SFENOTE:Naziv"), a program-wide variable ("GLO:NAZIVIZPISA") or a local variable of the
// running procedure ("Loc:Opomba"). Values pass as expression values: numbers (integers, day
// numbers, decimals) and UTF-8 texts.
class FormVariable {
  public:
    // The variable `name` names, looked up as the program's expressions look names up: the
    // innermost local variables of the calling thread, the program-wide variables, then the
    // tables' fields. Nothing when no variable has that name, or when it is an array or a group
    // (a control edits one plain value).
    static std::optional<FormVariable> find(std::string_view name);
    // The variable `name` names, which the program must have: std::logic_error when it has not.
    static FormVariable require(std::string_view name);
    // Field `field` (index into the table's fields) of the table's record buffer.
    static std::optional<FormVariable> ofField(const TableDef& table, int field);

    ValueKind kind() const;
    ExpressionValue read() const;
    // Stores the value: a number rounded to the variable's places, a text cut to its width; a
    // text is read as a number for a numeric variable (blank is 0). False, and the variable
    // unchanged, when it does not fit or is not a number where one is needed.
    bool write(const ExpressionValue& value) const;

    // The record field it is, nullptr for a variable.
    const TableDef* table() const { return table_; }
    int fieldIndex() const { return field_; }

  private:
    explicit FormVariable(VariableRef variable) : variable_(variable) {}
    FormVariable(const TableDef& table, int field) : table_(&table), field_(field) {}

    const FieldDef& field() const { return table_->fields[static_cast<std::size_t>(field_)]; }
    bool writeField(const ExpressionValue& value) const;

    std::optional<VariableRef> variable_;
    const TableDef* table_ = nullptr;
    int field_ = -1;
};

}  // namespace dv
