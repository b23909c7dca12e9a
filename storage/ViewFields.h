#pragma once

#include "data/TableDef.h"
#include "runtime/ExpressionValue.h"

namespace dv {

// A field of a record as an expression value (texts as UTF-8 without trailing blanks, numbers
// exact), and an expression value stored into a field: a text converted to the record's code
// page and cut to the width, a number rounded half away from zero to the field's places.
// Storing fails, leaving the field as it was, for a number the field cannot hold.
ExpressionValue readFieldValue(const TableDef& table, int field, const void* record);
bool writeFieldValue(const TableDef& table, int field, void* record, const ExpressionValue& value);

// Whether a field holds text (groups of text fields included).
bool isTextField(const FieldDef& field);

}  // namespace dv
