#pragma once

#include <cstdint>
#include <string_view>

#include "data/TableDef.h"

namespace dv {

// Generic access to one element of a field of a typed record, in the storage form of its type.
// Integers and dates (day numbers) as integers; decimals as integer units of 10^-places;
// texts (String, CString, Memo) as their code page 1250 bytes, blank padded to the width.
std::int64_t readInteger(const void* record, const FieldDef& field, int element = 0);
void writeInteger(void* record, const FieldDef& field, std::int64_t value, int element = 0);

std::int64_t readDecimalUnits(const void* record, const FieldDef& field, int element = 0);
void writeDecimalUnits(void* record, const FieldDef& field, std::int64_t units, int element = 0);

std::string_view readText(const void* record, const FieldDef& field, int element = 0);
// Truncates to the width, pads with blanks.
void writeText(void* record, const FieldDef& field, std::string_view cp1250, int element = 0);

// Whether one element of a field holds the same bytes in two typed records of its table.
bool sameElement(const void* a, const void* b, const FieldDef& field, int element = 0);

// Width in bytes of one element of a text field in the typed record.
std::size_t textWidth(const FieldDef& field);

}  // namespace dv
