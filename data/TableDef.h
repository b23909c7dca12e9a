#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "data/TableFiles.h"

namespace dv {

// Field types of the record layouts. In the typed record (the program-wide buffer) a field is held
// as follows; generic code reaches it through data/FieldAccess.h, never by these details:
//   Byte uint8_t, Short int16_t, UShort uint16_t, Long int32_t, ULong uint32_t,
//   Date int32_t day number (4 bytes day, month, year in the record image),
//   String/CString/Memo FixedText<N> (code page 1250 bytes, blank padded),
//   Decimal FixedDecimal<digits, places> (int64_t units of 10^-places),
//   Group: no member of its own, a span over the fields that follow it.
// An array field is a std::array of its element type.
enum class FieldType : std::uint8_t {
    Byte,
    Short,
    UShort,
    Long,
    ULong,
    String,
    CString,
    Decimal,
    Date,
    Memo,
    Group,
};

struct FieldDef {
    std::string_view name;      // as the program spells it, without the prefix ("PopisanaZaloga")
    FieldType type;
    std::uint16_t size;         // bytes of one element in the record image (a group: its span)
    std::uint8_t digits;        // decimals only
    std::uint8_t places;        // decimals only
    std::uint16_t dim;          // number of array elements, 1 for a plain field
    std::uint32_t offset;       // offset in the record image
    std::uint16_t groupFields;  // a group: how many following fields it spans
    std::size_t memberOffset;   // offset of the member in the typed record (not for a group)
};

struct KeyComponent {
    std::uint16_t field;  // index into TableDef::fields
    bool ascending;
};

struct KeyDef {
    std::string_view name;  // without the prefix ("STEVSIFRAKLJUC")
    std::span<const KeyComponent> components;
    bool unique;
    bool primary;
    bool noCase;
    int autoIncComponent;  // index into components of the auto-numbered component, or -1
    std::string_view description;  // exactly as the program shows it, leading blanks included
};

// Allowed values of a field, with the display labels passed to the "not in list" message.
struct FieldRule {
    std::uint16_t field;
    std::span<const std::string_view> allowed;
    std::string_view labels;     // "'  Prodaja na DROBNO','  Prodaja na DEBELO'"
    std::string_view fieldText;  // the field's descriptive text
};

// Value a field receives when a new record is prepared for insert.
struct FieldDefault {
    std::uint16_t field;
    std::string_view value;  // as text; kCurrentYearDefault for "the current year as 4 digits"
};
inline constexpr std::string_view kCurrentYearDefault = "<current year>";

struct TableDef {
    std::string_view name;    // "DOKUMENT"
    std::string_view prefix;  // "DOK"
    const TableFile* file;    // "FILE" entry, built-in file name, structure version
    std::uint32_t recordSize;  // bytes of the record image
    std::size_t recordStructSize;  // sizeof the typed record
    std::span<const FieldDef> fields;
    std::span<const KeyDef> keys;
    std::span<const FieldRule> rules;
    std::span<const FieldDefault> defaults;
    void* buffer;  // the program-wide record buffer of this table

    // Index of the field named `name` ("PopisanaZaloga" or "INVENDET:PopisanaZaloga"),
    // case-insensitive, or -1.
    int findField(std::string_view name) const;
    // Index of the key named `name` (with or without the prefix), case-insensitive, or -1.
    int findKey(std::string_view name) const;
};

}  // namespace dv
