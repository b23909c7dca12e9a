#include "data/DictionaryJson.h"

#include <string_view>

#include "data/Dictionary.h"
#include "data/Relations.h"
#include "runtime/JsonWriter.h"
#include "runtime/TextCase.h"

namespace dv {
namespace {

std::string_view typeName(FieldType type) {
    switch (type) {
        case FieldType::Byte:
            return "byte";
        case FieldType::Short:
            return "short";
        case FieldType::UShort:
            return "ushort";
        case FieldType::Long:
            return "long";
        case FieldType::ULong:
            return "ulong";
        case FieldType::String:
            return "string";
        case FieldType::CString:
            return "cstring";
        case FieldType::Decimal:
            return "decimal";
        case FieldType::Date:
            return "date";
        case FieldType::Memo:
            return "memo";
        case FieldType::Group:
            return "group";
    }
    return "";
}

std::string prefixed(std::string_view prefix, std::string_view name) {
    return std::string(prefix) + ":" + std::string(name);
}

std::string fieldName(const TableDef& table, std::size_t field) {
    return prefixed(table.prefix, table.fields[field].name);
}

// The field's spelling in `tableName` for a name written in any case; the name itself when the
// table or field is unknown.
std::string qualifiedField(std::string_view tableName, std::string_view name) {
    const TableDef* table = findTable(tableName);
    if (!table) return std::string(name);
    const int field = table->findField(name);
    return field < 0 ? prefixed(table->prefix, name)
                     : fieldName(*table, static_cast<std::size_t>(field));
}

void writeField(JsonWriter& json, const TableDef& table, std::size_t index) {
    const FieldDef& field = table.fields[index];
    json.beginObject();
    json.key("name").value(fieldName(table, index));
    json.key("type").value(typeName(field.type));
    json.key("size").value(static_cast<std::int64_t>(field.size));
    json.key("offset");
    if (field.type == FieldType::Memo)
        json.null();
    else
        json.value(static_cast<std::int64_t>(field.offset));
    if (field.type == FieldType::Decimal) {
        json.key("digits").value(static_cast<std::int64_t>(field.digits));
        json.key("places").value(static_cast<std::int64_t>(field.places));
    }
    if (field.dim > 1) json.key("dim").value(static_cast<std::int64_t>(field.dim));
    if (field.type == FieldType::Group)
        json.key("fields").value(static_cast<std::int64_t>(field.groupFields));
    json.endObject();
}

void writeKey(JsonWriter& json, const TableDef& table, const KeyDef& key) {
    json.beginObject();
    json.key("name").value(prefixed(table.prefix, key.name));
    json.key("components").beginArray();
    for (const KeyComponent& component : key.components) {
        json.beginObject();
        json.key("field").value(fieldName(table, component.field));
        json.key("ascending").value(component.ascending);
        json.endObject();
    }
    json.endArray();
    json.key("unique").value(key.unique);
    json.key("primary").value(key.primary);
    json.key("autoInc");
    if (key.autoIncComponent < 0)
        json.null();
    else
        json.value(
            fieldName(table, key.components[static_cast<std::size_t>(key.autoIncComponent)].field));
    json.key("noCase").value(key.noCase);
    json.key("description").value(key.description);
    json.endObject();
}

const FieldRule* ruleOf(const TableDef& table, std::size_t field) {
    for (const FieldRule& rule : table.rules)
        if (rule.field == field) return &rule;
    return nullptr;
}

const FieldDefault* defaultOf(const TableDef& table, std::size_t field) {
    for (const FieldDefault& fieldDefault : table.defaults)
        if (fieldDefault.field == field) return &fieldDefault;
    return nullptr;
}

void writeRule(JsonWriter& json, const TableDef& table, std::size_t field, const FieldRule* rule,
               const FieldDefault* fieldDefault) {
    json.beginObject();
    json.key("field").value(fieldName(table, field));
    json.key("allowed");
    if (rule) {
        json.beginArray();
        for (std::string_view code : rule->allowed) json.value(code);
        json.endArray();
    } else {
        json.null();
    }
    json.key("labels");
    rule ? json.value(rule->labels) : json.null();
    json.key("fieldText");
    rule ? json.value(rule->fieldText) : json.null();
    json.key("default");
    fieldDefault ? json.value(fieldDefault->value) : json.null();
    json.endObject();
}

void writeRules(JsonWriter& json, const TableDef& table) {
    json.key("rules").beginArray();
    for (std::size_t field = 0; field < table.fields.size(); ++field) {
        const FieldRule* rule = ruleOf(table, field);
        const FieldDefault* fieldDefault = defaultOf(table, field);
        if (rule || fieldDefault) writeRule(json, table, field, rule, fieldDefault);
    }
    json.endArray();
}

void writeRelation(JsonWriter& json, const Relation& relation) {
    json.beginObject();
    json.key("parent").value(relation.parent);
    json.key("child").value(relation.child);
    json.key("childKey").value(relation.childKey);
    json.key("fields").beginArray();
    for (const LinkingField& link : relation.fields) {
        json.beginObject();
        json.key("parent").value(qualifiedField(relation.parent, link.parent));
        json.key("child").value(qualifiedField(relation.child, link.child));
        json.endObject();
    }
    json.endArray();
    json.key("updateMode").value(relationModeName(relation.updateMode));
    json.key("deleteMode").value(relationModeName(relation.deleteMode));
    json.endObject();
}

void writeRelations(JsonWriter& json, const TableDef& table) {
    json.key("relations").beginArray();
    for (const Relation& relation : relations())
        if (equalsIgnoreCaseAscii(relation.parent, table.name) ||
            equalsIgnoreCaseAscii(relation.child, table.name))
            writeRelation(json, relation);
    json.endArray();
}

void writeTable(JsonWriter& json, const TableDef& table) {
    json.beginObject();
    json.key("name").value(table.name);
    json.key("prefix").value(table.prefix);
    json.key("file").value(table.file->builtInName);
    json.key("entry").value(table.file->entry);
    json.key("version");
    table.file->version < 0 ? json.null() : json.value(table.file->version);
    json.key("recordSize").value(static_cast<std::int64_t>(table.recordSize));
    json.key("fields").beginArray();
    for (std::size_t field = 0; field < table.fields.size(); ++field)
        writeField(json, table, field);
    json.endArray();
    json.key("keys").beginArray();
    for (const KeyDef& key : table.keys) writeKey(json, table, key);
    json.endArray();
    writeRules(json, table);
    writeRelations(json, table);
    json.endObject();
}

}  // namespace

std::string dictionaryJson() {
    JsonWriter json;
    json.beginArray();
    for (const TableDef& table : dictionary()) writeTable(json, table);
    json.endArray();
    return json.text();
}

}  // namespace dv
