#include "data/ExpressionFields.h"

#include <stdexcept>
#include <string>

#include "data/Dictionary.h"
#include "data/FieldAccess.h"
#include "runtime/CodePage1250.h"
#include "runtime/TextCase.h"

namespace dv {
namespace {

bool isText(FieldType type) {
    return type == FieldType::String || type == FieldType::CString || type == FieldType::Memo;
}

// A group over plain text fields reads as one text, the fields one after the other with their
// padding, as the runtime shows such a group (ARTIKLI:Naziv, the short and the second part of
// an item's name). Such fields lie one after the other in the typed record too.
bool isTextGroup(const TableDef& table, int index) {
    const FieldDef& group = table.fields[static_cast<std::size_t>(index)];
    if (group.type != FieldType::Group) return false;
    for (int f = index + 1; f <= index + group.groupFields; ++f) {
        const FieldDef& field = table.fields[static_cast<std::size_t>(f)];
        if (field.dim != 1 || (field.type != FieldType::String && field.type != FieldType::CString))
            return false;
    }
    return true;
}

std::string_view groupText(const void* record, const FieldDef& group) {
    return std::string_view(static_cast<const char*>(record) + group.memberOffset, group.size);
}

}  // namespace

RecordFieldSource::RecordFieldSource(const TableDef& table, int field, const void* const* record)
    : table_(table), field_(field), record_(record) {}

ValueKind RecordFieldSource::kind() const {
    const FieldType type = field().type;
    return isText(type) || type == FieldType::Group ? ValueKind::Text : ValueKind::Number;
}

ExpressionValue RecordFieldSource::read() const {
    const FieldDef& definition = field();
    const void* record = *record_;
    if (isText(definition.type) || definition.type == FieldType::Group) {
        const std::string_view text = definition.type == FieldType::Group
                                          ? groupText(record, definition)
                                          : readText(record, definition);
        return ExpressionValue::text(cp1250ToUtf8(trimTrailingBlanks(text)));
    }
    if (definition.type == FieldType::Decimal)
        return ExpressionValue::number(
            Decimal::fromUnits(readDecimalUnits(record, definition), definition.places));
    return ExpressionValue::number(Decimal(readInteger(record, definition)));
}

RecordFieldResolver::RecordFieldResolver() {
    for (const TableDef& table : dictionary()) tables_.push_back(Binding{&table, &table.buffer});
}

RecordFieldResolver::RecordFieldResolver(std::vector<const TableDef*> tables) {
    for (const TableDef* table : tables) tables_.push_back(Binding{table, &table->buffer});
}

void RecordFieldResolver::readFrom(const TableDef& table, const void* const* record) {
    for (Binding& binding : tables_)
        if (binding.table == &table) binding.record = record;
}

const RecordFieldResolver::Binding* RecordFieldResolver::find(std::string_view prefix) const {
    for (const Binding& binding : tables_)
        if (equalsIgnoreCaseAscii(binding.table->prefix, prefix) ||
            equalsIgnoreCaseAscii(binding.table->name, prefix))
            return &binding;
    return nullptr;
}

std::unique_ptr<ValueSource> RecordFieldResolver::resolve(std::string_view name) const {
    const auto colon = name.find(':');
    if (colon == std::string_view::npos) return nullptr;
    const Binding* binding = find(name.substr(0, colon));
    if (binding == nullptr) return nullptr;
    const TableDef& table = *binding->table;
    const int index = table.findField(name.substr(colon + 1));
    if (index < 0)
        throw std::invalid_argument("the table " + std::string(table.name) + " has no field " +
                                    std::string(name.substr(colon + 1)));
    const FieldDef& field = table.fields[static_cast<std::size_t>(index)];
    if (field.type == FieldType::Group && !isTextGroup(table, index))
        throw std::invalid_argument(std::string(name) + " is a group; name one of its fields");
    if (field.dim > 1)
        throw std::invalid_argument(std::string(name) + " is an array and cannot be compared");
    return std::make_unique<RecordFieldSource>(table, index, binding->record);
}

}  // namespace dv
