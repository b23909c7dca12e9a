#pragma once

#include <array>
#include <cstdint>

#include "runtime/Date.h"
#include "runtime/FixedDecimal.h"
#include "runtime/FixedText.h"

// The typed record of every table and its program-wide record buffer.
//
// Each table NAME has a struct NAMERecord with one member per field, named exactly as the program
// spells the field (INVENDETRecord::PopisanaZaloga), in the representation of data/TableDef.h:
// integers as such, dates as DayNumber, texts (also zero-terminated ones and memos) as
// FixedText<width>, decimals as FixedDecimal<digits, places>, arrays as std::array. A group has no
// member; data/RecordImage.h reads and writes it as one text.
//
// The buffer of a table is named by the table's prefix, so that code reads as the program writes
// its fields: INVENDET.PopisanaZaloga is INVENDET:PopisanaZaloga, DOK.LETONALOGA is
// DOK:LETONALOGA (table DOKUMENT), SFDrz.NazivDrzave is SFDrz:NazivDrzave (table SFDRZAVE).
// The buffers are shared by all procedure threads; only one of them runs at a time.
namespace dv {

#define DV_RECORD_MEMBER_BYTE std::uint8_t
#define DV_RECORD_MEMBER_SHORT std::int16_t
#define DV_RECORD_MEMBER_USHORT std::uint16_t
#define DV_RECORD_MEMBER_LONG std::int32_t
#define DV_RECORD_MEMBER_ULONG std::uint32_t
#define DV_RECORD_MEMBER_DATE DayNumber
#define DV_RECORD_MEMBER_STRING(width) FixedText<width>
#define DV_RECORD_MEMBER_CSTRING(width) FixedText<width>
#define DV_RECORD_MEMBER_DECIMAL(digits, places) FixedDecimal<digits, places>

#define DV_TABLE(name, prefix, size) struct name##Record {
#define DV_FIELD(field, type) DV_RECORD_MEMBER_##type field;
#define DV_ARRAY(field, type, dim) std::array<DV_RECORD_MEMBER_##type, dim> field;
#define DV_GROUP(field, spanned)
#define DV_MEMO(field, size) FixedText<size> field;
#define DV_KEY(...)
#define DV_RULE(...)
#define DV_DEFAULT(...)
#define DV_END_TABLE \
    }                \
    ;
#include "schema/tables/AllTables.def"
#include "schema/tables/EndDeclarations.h"

#define DV_TABLE(name, prefix, size) extern name##Record prefix;
#define DV_FIELD(...)
#define DV_ARRAY(...)
#define DV_GROUP(...)
#define DV_MEMO(...)
#define DV_KEY(...)
#define DV_RULE(...)
#define DV_DEFAULT(...)
#define DV_END_TABLE
#include "schema/tables/AllTables.def"
#include "schema/tables/EndDeclarations.h"

#undef DV_RECORD_MEMBER_BYTE
#undef DV_RECORD_MEMBER_SHORT
#undef DV_RECORD_MEMBER_USHORT
#undef DV_RECORD_MEMBER_LONG
#undef DV_RECORD_MEMBER_ULONG
#undef DV_RECORD_MEMBER_DATE
#undef DV_RECORD_MEMBER_STRING
#undef DV_RECORD_MEMBER_CSTRING
#undef DV_RECORD_MEMBER_DECIMAL

}  // namespace dv
