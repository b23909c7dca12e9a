#include "storage/FileManagerFields.h"

#include <charconv>
#include <limits>
#include <string>
#include <vector>

#include "data/FieldAccess.h"
#include "data/RecordBuffers.h"
#include "runtime/TextCase.h"

namespace dv {
namespace {

bool isText(const FieldDef& field) {
    return field.type == FieldType::String || field.type == FieldType::CString ||
           field.type == FieldType::Memo;
}

// One element's value: a text (code page 1250, trailing blanks removed) or a number in units
// of 10^-places.
struct PlainValue {
    bool text = false;
    std::string characters;
    std::int64_t units = 0;
    int places = 0;
};

PlainValue valueOf(const void* record, const FieldDef& field, int element) {
    if (isText(field))
        return {true, std::string(trimTrailingBlanks(readText(record, field, element))), 0, 0};
    if (field.type == FieldType::Decimal)
        return {false, {}, readDecimalUnits(record, field, element), field.places};
    return {false, {}, readInteger(record, field, element), 0};
}

std::int64_t scaled(std::int64_t units, int from, int to) {
    for (; from < to; ++from) units *= 10;
    for (; from > to; --from) units /= 10;
    return units;
}

std::string digitsOf(const PlainValue& value) {
    return std::to_string(scaled(value.units, value.places, 0));
}

std::int64_t numberOf(const std::string& text) {
    std::int64_t number = 0;
    std::from_chars(text.data(), text.data() + text.size(), number);
    return number;
}

bool sameValue(const PlainValue& a, const PlainValue& b) {
    if (a.text && b.text) return a.characters == b.characters;
    if (a.text) return a.characters == digitsOf(b);
    if (b.text) return digitsOf(a) == b.characters;
    const int places = std::max(a.places, b.places);
    return scaled(a.units, a.places, places) == scaled(b.units, b.places, places);
}

void store(void* record, const FieldDef& field, int element, const PlainValue& value) {
    if (isText(field)) {
        writeText(record, field, value.text ? value.characters : digitsOf(value), element);
        return;
    }
    const std::int64_t units = value.text ? scaled(numberOf(value.characters), 0, field.places)
                                          : scaled(value.units, value.places, field.places);
    if (field.type == FieldType::Decimal)
        writeDecimalUnits(record, field, units, element);
    else
        writeInteger(record, field, scaled(units, field.places, 0), element);
}

// The plain fields a field stands for: itself, or the fields a group spans.
std::vector<int> plainFields(const TableDef& table, int field) {
    const FieldDef& def = table.fields[static_cast<std::size_t>(field)];
    if (def.type != FieldType::Group) return {field};
    std::vector<int> fields;
    for (int f = field + 1; f <= field + def.groupFields; ++f)
        if (table.fields[static_cast<std::size_t>(f)].type != FieldType::Group) fields.push_back(f);
    return fields;
}

const FieldDef& fieldAt(const TableDef& table, int field) {
    return table.fields[static_cast<std::size_t>(field)];
}

// Calls `pair` for each element of the plain fields of A's field and B's field, side by side.
template <typename Pair>
bool forPairs(const TableDef& tableA, int fieldA, const TableDef& tableB, int fieldB, Pair pair) {
    const std::vector<int> a = plainFields(tableA, fieldA);
    const std::vector<int> b = plainFields(tableB, fieldB);
    for (std::size_t i = 0; i < a.size() && i < b.size(); ++i) {
        const FieldDef& defA = fieldAt(tableA, a[i]);
        const FieldDef& defB = fieldAt(tableB, b[i]);
        for (int e = 0; e < defA.dim && e < defB.dim; ++e)
            if (!pair(defA, defB, e)) return false;
    }
    return true;
}

}  // namespace

bool isNumberField(const FieldDef& field) {
    return !isText(field) && field.type != FieldType::Group;
}

std::int64_t lowestNumber(const FieldDef& field) {
    switch (field.type) {
        case FieldType::Short:
            return std::numeric_limits<std::int16_t>::min();
        case FieldType::Long:
        case FieldType::Date:
            return std::numeric_limits<std::int32_t>::min();
        case FieldType::Decimal:
            return -highestNumber(field);
        default:
            return 0;
    }
}

std::int64_t highestNumber(const FieldDef& field) {
    switch (field.type) {
        case FieldType::Byte:
            return std::numeric_limits<std::uint8_t>::max();
        case FieldType::Short:
            return std::numeric_limits<std::int16_t>::max();
        case FieldType::UShort:
            return std::numeric_limits<std::uint16_t>::max();
        case FieldType::Long:
        case FieldType::Date:
            return std::numeric_limits<std::int32_t>::max();
        case FieldType::ULong:
            return std::numeric_limits<std::uint32_t>::max();
        case FieldType::Decimal: {
            std::int64_t highest = 1;
            for (int d = 0; d < field.digits && d < 18; ++d) highest *= 10;
            return highest - 1;
        }
        default:
            return 0;
    }
}

bool sameFieldValue(const TableDef& tableA, const void* recordA, int fieldA, const TableDef& tableB,
                    const void* recordB, int fieldB) {
    return forPairs(
        tableA, fieldA, tableB, fieldB, [&](const FieldDef& a, const FieldDef& b, int element) {
            return sameValue(valueOf(recordA, a, element), valueOf(recordB, b, element));
        });
}

void copyFieldValue(const TableDef& from, const void* source, int fromField, const TableDef& to,
                    void* target, int toField) {
    forPairs(from, fromField, to, toField, [&](const FieldDef& a, const FieldDef& b, int element) {
        store(target, b, element, valueOf(source, a, element));
        return true;
    });
}

void clearFieldValue(const TableDef& table, void* record, int field) {
    for (const int plain : plainFields(table, field)) {
        const FieldDef& def = fieldAt(table, plain);
        for (int e = 0; e < def.dim; ++e) {
            if (isText(def))
                writeText(record, def, {}, e);
            else if (def.type == FieldType::Decimal)
                writeDecimalUnits(record, def, 0, e);
            else
                writeInteger(record, def, 0, e);
        }
    }
}

void setExtremeValue(const TableDef& table, void* record, int field, bool highest) {
    for (const int plain : plainFields(table, field)) {
        const FieldDef& def = fieldAt(table, plain);
        for (int e = 0; e < def.dim; ++e) {
            if (isText(def)) {
                // No text sorts before the empty one; code page byte 0xFF sorts last.
                writeText(record, def, highest ? std::string(textWidth(def), '\xFF') : "", e);
            } else if (def.type == FieldType::Decimal) {
                writeDecimalUnits(record, def, highest ? highestNumber(def) : lowestNumber(def), e);
            } else {
                writeInteger(record, def, highest ? highestNumber(def) : lowestNumber(def), e);
            }
        }
    }
}

void applyFieldDefaults(const TableDef& table, void* record) {
    if (table.defaults.empty()) return;
    std::vector<unsigned char> fresh(table.recordStructSize);
    prepareNewRecord(table, fresh.data());
    for (const FieldDefault& fieldDefault : table.defaults)
        copyFieldValue(table, fresh.data(), fieldDefault.field, table, record, fieldDefault.field);
}

}  // namespace dv
