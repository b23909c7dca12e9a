#include "framework/FormVariable.h"

#include <limits>
#include <stdexcept>
#include <string>

#include "data/Catalogue.h"
#include "data/Dictionary.h"
#include "data/FieldAccess.h"
#include "runtime/CodePage1250.h"
#include "runtime/LocalVariables.h"

namespace dv {
namespace {

bool isTextField(FieldType type) {
    return type == FieldType::String || type == FieldType::CString || type == FieldType::Memo;
}

// The range of whole numbers a field of an integer type (or a day number) holds.
std::pair<std::int64_t, std::int64_t> integerRange(FieldType type) {
    switch (type) {
        case FieldType::Byte:
            return {0, std::numeric_limits<std::uint8_t>::max()};
        case FieldType::Short:
            return {std::numeric_limits<std::int16_t>::min(),
                    std::numeric_limits<std::int16_t>::max()};
        case FieldType::UShort:
            return {0, std::numeric_limits<std::uint16_t>::max()};
        case FieldType::ULong:
            return {0, std::numeric_limits<std::uint32_t>::max()};
        case FieldType::Date:
            return {0, std::numeric_limits<std::int32_t>::max()};
        default:
            return {std::numeric_limits<std::int32_t>::min(),
                    std::numeric_limits<std::int32_t>::max()};
    }
}

}  // namespace

std::optional<FormVariable> FormVariable::find(std::string_view name) {
    if (const LocalVariables* locals = LocalVariables::innermost())
        if (const VariableRef* local = locals->find(name)) return FormVariable(*local);
    if (const VariableRef* global = findGlobalVariable(name)) return FormVariable(*global);
    const std::size_t colon = name.find(':');
    if (colon == std::string_view::npos) return std::nullopt;
    const TableDef* table = findTable(name.substr(0, colon));
    if (table == nullptr) return std::nullopt;
    return ofField(*table, table->findField(name.substr(colon + 1)));
}

FormVariable FormVariable::require(std::string_view name) {
    std::optional<FormVariable> variable = find(name);
    if (!variable) throw std::logic_error("the program has no variable " + std::string(name));
    return *variable;
}

std::optional<FormVariable> FormVariable::ofField(const TableDef& table, int field) {
    if (field < 0 || field >= static_cast<int>(table.fields.size())) return std::nullopt;
    const FieldDef& def = table.fields[static_cast<std::size_t>(field)];
    if (def.type == FieldType::Group || def.dim != 1) return std::nullopt;
    return FormVariable(table, field);
}

ValueKind FormVariable::kind() const {
    if (variable_) return variable_->kind();
    return isTextField(field().type) ? ValueKind::Text : ValueKind::Number;
}

ExpressionValue FormVariable::read() const {
    if (variable_) return variable_->read();
    const FieldDef& def = field();
    const void* record = table_->buffer;
    if (isTextField(def.type)) return ExpressionValue::text(cp1250ToUtf8(readText(record, def)));
    if (def.type == FieldType::Decimal)
        return ExpressionValue::number(
            Decimal::fromUnits(readDecimalUnits(record, def), def.places));
    return ExpressionValue::number(Decimal(readInteger(record, def)));
}

bool FormVariable::write(const ExpressionValue& value) const {
    if (variable_) return variable_->write(value);
    return writeField(value);
}

bool FormVariable::writeField(const ExpressionValue& value) const {
    const FieldDef& def = field();
    void* record = table_->buffer;
    if (isTextField(def.type)) {
        writeText(record, def, utf8ToCp1250(value.toText()));
        return true;
    }
    const std::optional<Decimal> number = detail::numberToStore(value);
    if (!number) return false;
    if (def.type == FieldType::Decimal) {
        const auto units = number->fieldUnits(def.digits, def.places);
        if (!units) return false;
        writeDecimalUnits(record, def, *units);
        return true;
    }
    const auto whole = number->fieldUnits(18, 0);
    const auto [low, high] = integerRange(def.type);
    if (!whole || *whole < low || *whole > high) return false;
    writeInteger(record, def, *whole);
    return true;
}

}  // namespace dv
