#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "data/TableDef.h"

namespace dv {

// The record image: the byte layout in which the suite's programs share a table's records,
// TableDef::recordSize bytes, the fields one after another at FieldDef::offset:
//   integers little-endian in their width;
//   texts as their code page 1250 bytes, blank padded;
//   zero-terminated texts as at most width-1 characters (trailing blanks dropped) and NUL bytes;
//   decimals as packed BCD (data/PackedDecimal.h);
//   "date" fields as day, month and a 16-bit year (all zero for day number 0);
//   arrays element after element; a group is no data of its own but the span of its fields.
// Memos are stored apart from the record: they are not part of the image, encoding skips them and
// decoding leaves them as they are.

// A field whose value cannot be carried across: a value too large for the image, a date outside
// the calendar, bytes that are no valid packed decimal or date.
struct ImageError {
    int field;  // index into TableDef::fields
    std::string reason;
};

// Writes the typed `record` into `image` (exactly recordSize bytes). Every field is written;
// one that cannot be (written as zeros) is reported, the first such one.
std::optional<ImageError> encodeRecord(const TableDef& table, const void* record,
                                       std::span<std::uint8_t> image);

// Reads `image` (exactly recordSize bytes) into the typed `record`. A field whose bytes are not
// valid is set to zero and reported, the first such one; the other fields are read.
std::optional<ImageError> decodeRecord(const TableDef& table, std::span<const std::uint8_t> image,
                                       void* record);

// A group read as one text: the image bytes of the fields it spans (for a group of texts, their
// code page 1250 texts one after another).
std::string groupText(const TableDef& table, const void* record, int group);
// A group written as one text: `cp1250` cut or blank padded to the group's span, then read into
// the fields it spans.
std::optional<ImageError> setGroupText(const TableDef& table, void* record, int group,
                                       std::string_view cp1250);

}  // namespace dv
