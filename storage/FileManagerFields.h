#pragma once

#include <cstdint>

#include "data/TableDef.h"

namespace dv {

// Field values of typed records as the table access compares and moves them: a group stands for
// the fields it spans, an array for its elements; numbers (integers, dates, decimals) compare
// and copy by their value, texts by their characters without trailing blanks, a number and a
// text by the number's digits. Fields are indices into the table's fields.

bool sameFieldValue(const TableDef& tableA, const void* recordA, int fieldA, const TableDef& tableB,
                    const void* recordB, int fieldB);
void copyFieldValue(const TableDef& from, const void* source, int fromField, const TableDef& to,
                    void* target, int toField);
// Blanks a text, zeroes a number.
void clearFieldValue(const TableDef& table, void* record, int field);
// The lowest value the field can hold (the highest when `highest`), in the order of an ascending
// key component: the place before (after) every value.
void setExtremeValue(const TableDef& table, void* record, int field, bool highest);

// The range of a numbered field (an integer type or a decimal, in units).
std::int64_t lowestNumber(const FieldDef& field);
std::int64_t highestNumber(const FieldDef& field);
bool isNumberField(const FieldDef& field);

// Gives the fields of `record` the defaults the table declares, leaving the others as they are.
void applyFieldDefaults(const TableDef& table, void* record);

}  // namespace dv
