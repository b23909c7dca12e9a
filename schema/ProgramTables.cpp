#include "schema/ProgramCatalogue.h"

#include <array>
#include <cstddef>
#include <stdexcept>
#include <string>
#include <type_traits>
#include <vector>

#include "data/TableLayout.h"
#include "runtime/TextCase.h"
#include "schema/Records.h"

// The metadata of every table is generated from its one declaration in schema/tables/ by including
// the declaration list several times, each time with the macros defined to produce one kind of
// item: the fields with their offsets, the counts of keys, rules and defaults, the lists of key
// components and allowed codes, then the key, rule and default arrays, and finally the TableDefs.
// Each table's items live in a namespace of its own (INVENDET_). A key or rule that names a missing
// field, a group that spans nothing, or a record size that differs from the sum of the field widths
// stops the build.
namespace dv {
namespace declared {

using namespace dv::layout;

constexpr std::string_view CurrentYear = kCurrentYearDefault;

#define DV_SHAPE_BYTE integerShape(FieldType::Byte, 1)
#define DV_SHAPE_SHORT integerShape(FieldType::Short, 2)
#define DV_SHAPE_USHORT integerShape(FieldType::UShort, 2)
#define DV_SHAPE_LONG integerShape(FieldType::Long, 4)
#define DV_SHAPE_ULONG integerShape(FieldType::ULong, 4)
#define DV_SHAPE_DATE integerShape(FieldType::Date, 4)
#define DV_SHAPE_STRING(width) textShape(FieldType::String, width)
#define DV_SHAPE_CSTRING(width) textShape(FieldType::CString, width)
#define DV_SHAPE_DECIMAL(digits, places) decimalShape(digits, places)
#define DV_ASC(field)                    \
    KeyComponent {                       \
        fieldIndex(fields, #field), true \
    }
#define DV_DESC(field)                    \
    KeyComponent {                        \
        fieldIndex(fields, #field), false \
    }

// The fields, laid out.
#define DV_TABLE(name, prefix, size)                      \
    namespace name##_ {                                   \
        using Record = name##Record;                      \
        static_assert(std::is_standard_layout_v<Record>); \
        constexpr std::uint32_t declaredSize = size;      \
    constexpr auto fields = layOut(std::array{
#define DV_FIELD(field, type) memberField(#field, DV_SHAPE_##type, 1, offsetof(Record, field)),
#define DV_ARRAY(field, type, dim) \
    memberField(#field, DV_SHAPE_##type, dim, offsetof(Record, field)),
#define DV_GROUP(field, spanned) groupField(#field, spanned),
#define DV_MEMO(field, size) \
    memberField(#field, textShape(FieldType::Memo, size), 1, offsetof(Record, field)),
#define DV_KEY(...)
#define DV_RULE(...)
#define DV_DEFAULT(...)
#define DV_END_TABLE                                                                         \
    });                                                                                      \
    static_assert(imageSize(fields) == declaredSize, "record size differs from the fields"); \
    }
#include "schema/tables/AllTables.def"
#include "schema/tables/EndDeclarations.h"

// How many keys, rules and defaults each table has.
#define DV_TABLE(name, prefix, size) \
    namespace name##_ {              \
        constexpr DeclarationCounts counts = DeclarationCounts {}
#define DV_FIELD(...)
#define DV_ARRAY(...)
#define DV_GROUP(...)
#define DV_MEMO(...)
#define DV_KEY(...)      \
    +DeclarationCounts { \
        1, 0, 0          \
    }
#define DV_RULE(...)     \
    +DeclarationCounts { \
        0, 1, 0          \
    }
#define DV_DEFAULT(...)  \
    +DeclarationCounts { \
        0, 0, 1          \
    }
#define DV_END_TABLE \
    ;                \
    }
#include "schema/tables/AllTables.def"
#include "schema/tables/EndDeclarations.h"

// The components of each key and the allowed codes of each rule.
#define DV_TABLE(name, prefix, size) namespace name##_ {
#define DV_FIELD(...)
#define DV_ARRAY(...)
#define DV_GROUP(...)
#define DV_MEMO(...)
#define DV_KEY(key, description, flags, ...) \
    constexpr KeyComponent key##_components[] = {__VA_ARGS__};
#define DV_RULE(field, labels, text, ...) \
    constexpr std::string_view field##_allowed[] = {__VA_ARGS__};
#define DV_DEFAULT(...)
#define DV_END_TABLE }
#include "schema/tables/AllTables.def"
#include "schema/tables/EndDeclarations.h"

// The keys, rules and defaults.
#define DV_TABLE(name, prefix, size) namespace name##_ {
#define DV_FIELD(...)
#define DV_ARRAY(...)
#define DV_GROUP(...)
#define DV_MEMO(...)
#define DV_KEY(key, description, flags, ...) \
    constexpr KeyDef key##_key = makeKey(#key, key##_components, flags, description);
#define DV_RULE(field, labels, text, ...) \
    constexpr FieldRule field##_rule{fieldIndex(fields, #field), field##_allowed, labels, text};
#define DV_DEFAULT(field, value) \
    constexpr FieldDefault field##_default{fieldIndex(fields, #field), value};
#define DV_END_TABLE }
#include "schema/tables/AllTables.def"
#include "schema/tables/EndDeclarations.h"

#define DV_TABLE(name, prefix, size)                     \
    namespace name##_ {                                  \
        constexpr std::array<KeyDef, counts.keys> keys { \
            {
#define DV_FIELD(...)
#define DV_ARRAY(...)
#define DV_GROUP(...)
#define DV_MEMO(...)
#define DV_KEY(key, ...) key##_key,
#define DV_RULE(...)
#define DV_DEFAULT(...)
#define DV_END_TABLE \
    }                \
    }                \
    ;                \
    }
#include "schema/tables/AllTables.def"
#include "schema/tables/EndDeclarations.h"

#define DV_TABLE(name, prefix, size)                          \
    namespace name##_ {                                       \
        constexpr std::array<FieldRule, counts.rules> rules { \
            {
#define DV_FIELD(...)
#define DV_ARRAY(...)
#define DV_GROUP(...)
#define DV_MEMO(...)
#define DV_KEY(...)
#define DV_RULE(field, ...) field##_rule,
#define DV_DEFAULT(...)
#define DV_END_TABLE \
    }                \
    }                \
    ;                \
    }
#include "schema/tables/AllTables.def"
#include "schema/tables/EndDeclarations.h"

#define DV_TABLE(name, prefix, size)                                   \
    namespace name##_ {                                                \
        constexpr std::array<FieldDefault, counts.defaults> defaults { \
            {
#define DV_FIELD(...)
#define DV_ARRAY(...)
#define DV_GROUP(...)
#define DV_MEMO(...)
#define DV_KEY(...)
#define DV_RULE(...)
#define DV_DEFAULT(field, value) field##_default,
#define DV_END_TABLE \
    }                \
    }                \
    ;                \
    }
#include "schema/tables/AllTables.def"
#include "schema/tables/EndDeclarations.h"

#undef DV_SHAPE_BYTE
#undef DV_SHAPE_SHORT
#undef DV_SHAPE_USHORT
#undef DV_SHAPE_LONG
#undef DV_SHAPE_ULONG
#undef DV_SHAPE_DATE
#undef DV_SHAPE_STRING
#undef DV_SHAPE_CSTRING
#undef DV_SHAPE_DECIMAL
#undef DV_ASC
#undef DV_DESC

const TableFile* requireTableFile(std::string_view table) {
    for (const TableFile& file : programTableFiles())
        if (equalsIgnoreCaseAscii(file.table, table)) return &file;
    throw std::logic_error("table " + std::string(table) + " has no file entry");
}

#define DV_TABLE(name, prefix, size)     \
    TableDef{#name,                      \
             #prefix,                    \
             requireTableFile(#name),    \
             imageSize(name##_::fields), \
             sizeof(name##Record),       \
             name##_::fields,            \
             name##_::keys,              \
             name##_::rules,             \
             name##_::defaults,          \
             &prefix},
#define DV_FIELD(...)
#define DV_ARRAY(...)
#define DV_GROUP(...)
#define DV_MEMO(...)
#define DV_KEY(...)
#define DV_RULE(...)
#define DV_DEFAULT(...)
#define DV_END_TABLE
std::vector<TableDef> buildTables() {
    return {
#include "schema/tables/AllTables.def"
    };
}
#include "schema/tables/EndDeclarations.h"

}  // namespace declared

std::span<const TableDef> programTables() {
    static const std::vector<TableDef> tables = declared::buildTables();
    return tables;
}

}  // namespace dv
