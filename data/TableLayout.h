#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "data/TableDef.h"

// Compile-time helpers that turn the table declarations (schema/tables/AllTables.def) into
// TableDef metadata: widths of the field types, the offsets of the record image, and lookups of
// fields by name that fail the build when a declaration names a field that does not exist.
namespace dv::layout {

// Type, bytes of one element and decimal shape of a declared field type.
struct FieldShape {
    FieldType type;
    std::uint16_t size;
    std::uint8_t digits;
    std::uint8_t places;
};

// A packed decimal of b bytes holds 2b-1 digits and a sign: 9 digits take 5 bytes, 10 take 6.
constexpr std::uint16_t packedDecimalBytes(int digits) {
    return static_cast<std::uint16_t>(digits / 2 + 1);
}

constexpr FieldShape integerShape(FieldType type, std::uint16_t size) {
    return {type, size, 0, 0};
}
constexpr FieldShape textShape(FieldType type, std::size_t size) {
    return {type, static_cast<std::uint16_t>(size), 0, 0};
}
constexpr FieldShape decimalShape(int digits, int places) {
    return {FieldType::Decimal, packedDecimalBytes(digits), static_cast<std::uint8_t>(digits),
            static_cast<std::uint8_t>(places)};
}

// A field with a member in the typed record; its image offset is set by layOut.
constexpr FieldDef memberField(std::string_view name, FieldShape shape, std::uint16_t dim,
                               std::size_t memberOffset) {
    return FieldDef{name, shape.type, shape.size, shape.digits, shape.places,
                    dim,  0,          0,          memberOffset};
}

// A group over the `spanned` fields that follow it; offset, size and member offset by layOut.
constexpr FieldDef groupField(std::string_view name, std::uint16_t spanned) {
    return FieldDef{name, FieldType::Group, 0, 0, 0, 1, 0, spanned, 0};
}

constexpr bool occupiesImage(const FieldDef& field) {
    return field.type != FieldType::Group && field.type != FieldType::Memo;
}

constexpr std::uint32_t imageBytes(const FieldDef& field) {
    return static_cast<std::uint32_t>(field.size) * field.dim;
}

// Bytes of the record image: the fields one after another, groups and memos taking no room.
constexpr std::uint32_t imageSize(std::span<const FieldDef> fields) {
    std::uint32_t total = 0;
    for (const FieldDef& field : fields)
        if (occupiesImage(field)) total += imageBytes(field);
    return total;
}

// Sets the image offset of every field: the fields follow each other; a group starts at its
// first spanned field, spans their bytes and shares that field's member offset; a memo, stored
// apart from the image, gets the offset just past its end.
template <std::size_t N>
constexpr std::array<FieldDef, N> layOut(std::array<FieldDef, N> fields) {
    std::uint32_t offset = 0;
    for (FieldDef& field : fields) {
        if (!occupiesImage(field)) continue;
        field.offset = offset;
        offset += imageBytes(field);
    }
    for (std::size_t i = 0; i < N; ++i) {
        FieldDef& field = fields[i];
        if (field.type == FieldType::Memo) field.offset = offset;
        if (field.type != FieldType::Group) continue;
        if (field.groupFields == 0 || i + field.groupFields >= N)
            throw "a group must span fields that follow it";
        std::uint32_t span = 0;
        for (std::size_t j = i + 1; j <= i + field.groupFields; ++j) {
            if (!occupiesImage(fields[j])) throw "a group spans plain fields only";
            span += imageBytes(fields[j]);
        }
        field.offset = fields[i + 1].offset;
        field.size = static_cast<std::uint16_t>(span);
        field.memberOffset = fields[i + 1].memberOffset;
    }
    return fields;
}

constexpr char asciiUpper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c;
}

constexpr bool sameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (asciiUpper(a[i]) != asciiUpper(b[i])) return false;
    return true;
}

// Index of the field named `name` (case-insensitive); a name that is not there stops the build.
consteval std::uint16_t fieldIndex(std::span<const FieldDef> fields, std::string_view name) {
    for (std::size_t i = 0; i < fields.size(); ++i)
        if (sameName(fields[i].name, name)) return static_cast<std::uint16_t>(i);
    throw "no field of that name in the table";
}

// Flags of a declared key.
enum KeyFlag : unsigned { Dups = 0, Unique = 1, Primary = 2, AutoInc = 4, NoCase = 8 };

consteval KeyDef makeKey(std::string_view name, std::span<const KeyComponent> components,
                         unsigned flags, std::string_view description) {
    if ((flags & Primary) && !(flags & Unique)) throw "a primary key must be unique";
    if (components.empty()) throw "a key needs components";
    const int autoInc = (flags & AutoInc) ? static_cast<int>(components.size()) - 1 : -1;
    return KeyDef{
        name,    components, (flags & Unique) != 0, (flags & Primary) != 0, (flags & NoCase) != 0,
        autoInc, description};
}

// How many keys, rules and defaults a table declares (sizes of its metadata arrays).
struct DeclarationCounts {
    std::size_t keys = 0;
    std::size_t rules = 0;
    std::size_t defaults = 0;

    constexpr DeclarationCounts operator+(const DeclarationCounts& other) const {
        return {keys + other.keys, rules + other.rules, defaults + other.defaults};
    }
};

}  // namespace dv::layout
