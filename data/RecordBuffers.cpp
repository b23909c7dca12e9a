#include "data/RecordBuffers.h"

#include <charconv>
#include <cstring>
#include <stdexcept>
#include <string>

#include "data/Dictionary.h"
#include "data/FieldAccess.h"
#include "runtime/CodePage1250.h"
#include "runtime/Date.h"
#include "runtime/Decimal.h"

namespace dv {
namespace {

bool isText(FieldType type) {
    return type == FieldType::String || type == FieldType::CString || type == FieldType::Memo;
}

std::string currentYear() {
    return std::to_string(civilDate(today()).year);
}

std::int64_t integerDefault(const FieldDef& field, std::string_view value) {
    std::int64_t number = 0;
    const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), number);
    if (error != std::errc() || end != value.data() + value.size())
        throw std::logic_error("default of " + std::string(field.name) + " is not a number");
    return number;
}

std::int64_t decimalDefault(const FieldDef& field, std::string_view value) {
    const auto parsed = Decimal::parse(value);
    const auto units = parsed ? parsed->fieldUnits(field.digits, field.places) : std::nullopt;
    if (!units) throw std::logic_error("default of " + std::string(field.name) + " does not fit");
    return *units;
}

void applyDefault(void* record, const FieldDef& field, std::string_view value) {
    if (value == kCurrentYearDefault) {
        writeText(record, field, currentYear());
    } else if (isText(field.type)) {
        writeText(record, field, utf8ToCp1250(value));
    } else if (field.type == FieldType::Decimal) {
        writeDecimalUnits(record, field, decimalDefault(field, value));
    } else {
        writeInteger(record, field, integerDefault(field, value));
    }
}

}  // namespace

void clearRecord(const TableDef& table, void* record) {
    std::memset(record, 0, table.recordStructSize);
    for (const FieldDef& field : table.fields) {
        if (!isText(field.type)) continue;
        for (int element = 0; element < field.dim; ++element) writeText(record, field, {}, element);
    }
}

void prepareNewRecord(const TableDef& table, void* record) {
    clearRecord(table, record);
    for (const FieldDefault& fieldDefault : table.defaults)
        applyDefault(record, table.fields[fieldDefault.field], fieldDefault.value);
}

void clearAllRecordBuffers() {
    for (const TableDef& table : dictionary()) clearRecord(table, table.buffer);
}

}  // namespace dv
