#include "storage/ViewFields.h"

#include <limits>

#include "data/ExpressionFields.h"
#include "data/FieldAccess.h"
#include "data/RecordImage.h"
#include "storage/StoredText.h"

namespace dv {
namespace {

// The range of an integer field's type.
bool fitsInteger(FieldType type, Int128 value) {
    switch (type) {
        case FieldType::Byte:
            return value >= 0 && value <= std::numeric_limits<std::uint8_t>::max();
        case FieldType::Short:
            return value >= std::numeric_limits<std::int16_t>::min() &&
                   value <= std::numeric_limits<std::int16_t>::max();
        case FieldType::UShort:
            return value >= 0 && value <= std::numeric_limits<std::uint16_t>::max();
        case FieldType::ULong:
            return value >= 0 && value <= std::numeric_limits<std::uint32_t>::max();
        default:
            return value >= std::numeric_limits<std::int32_t>::min() &&
                   value <= std::numeric_limits<std::int32_t>::max();
    }
}

}  // namespace

bool isTextField(const FieldDef& field) {
    return field.type == FieldType::String || field.type == FieldType::CString ||
           field.type == FieldType::Memo || field.type == FieldType::Group;
}

ExpressionValue readFieldValue(const TableDef& table, int field, const void* record) {
    const void* const from = record;
    return RecordFieldSource(table, field, &from).read();
}

bool writeFieldValue(const TableDef& table, int field, void* record, const ExpressionValue& value) {
    const FieldDef& definition = table.fields[static_cast<std::size_t>(field)];
    if (definition.type == FieldType::Group)
        return !setGroupText(table, record, field, recordText(value.toText()));
    if (isTextField(definition)) {
        writeText(record, definition, recordText(value.toText()));
        return true;
    }
    const Decimal number = value.toNumber();
    if (definition.type == FieldType::Decimal) {
        const auto units = number.fieldUnits(definition.digits, definition.places);
        if (!units) return false;
        writeDecimalUnits(record, definition, *units);
        return true;
    }
    const Int128 whole = number.unitsAt(0);
    if (!fitsInteger(definition.type, whole)) return false;
    writeInteger(record, definition, static_cast<std::int64_t>(whole));
    return true;
}

}  // namespace dv
