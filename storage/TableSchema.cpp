#include "storage/TableSchema.h"

#include <sstream>

#include "runtime/TextCase.h"

namespace dv {
namespace {

ColumnKind kindOf(FieldType type) {
    switch (type) {
        case FieldType::String:
        case FieldType::CString:
        case FieldType::Memo:
            return ColumnKind::Text;
        case FieldType::Decimal:
            return ColumnKind::Decimal;
        default:
            return ColumnKind::Integer;
    }
}

std::string typeOf(const FieldDef& field) {
    switch (field.type) {
        case FieldType::Byte:
            return "U8";
        case FieldType::Short:
            return "I16";
        case FieldType::UShort:
            return "U16";
        case FieldType::Long:
            return "I32";
        case FieldType::ULong:
            return "U32";
        case FieldType::Date:
            return "DATE";
        case FieldType::Decimal:
            return "DEC " + std::to_string(field.digits) + " " + std::to_string(field.places);
        case FieldType::String:
        case FieldType::CString:
        case FieldType::Memo:
            return "TEXT " + std::to_string(field.size);
        case FieldType::Group:
            break;
    }
    return {};
}

// Range of an integer type, for the widening rule.
struct Range {
    std::int64_t low;
    std::int64_t high;
};

bool integerRange(const std::string& type, Range& range) {
    if (type == "U8")
        range = {0, 0xFF};
    else if (type == "I16")
        range = {-0x8000, 0x7FFF};
    else if (type == "U16")
        range = {0, 0xFFFF};
    else if (type == "I32")
        range = {-0x80000000LL, 0x7FFFFFFF};
    else if (type == "U32")
        range = {0, 0xFFFFFFFFLL};
    else
        return false;
    return true;
}

}  // namespace

TableSchema::TableSchema(const TableDef& table) : table_(table) {
    for (std::size_t f = 0; f < table.fields.size(); ++f) {
        const FieldDef& field = table.fields[f];
        if (field.type == FieldType::Group) continue;
        const std::string name = upperSlovenian(field.name);
        for (std::uint16_t e = 0; e < field.dim; ++e) {
            columns_.push_back(Column{static_cast<std::uint16_t>(f), e, kindOf(field.type),
                                      field.dim == 1 ? name : name + "_" + std::to_string(e + 1),
                                      typeOf(field)});
        }
    }
    orders_.push_back({OrderTerm{-1, true, false}});
    for (const KeyDef& key : table.keys) {
        std::vector<OrderTerm> terms;
        for (const KeyComponent& component : key.components) {
            // A group in a key stands for the fields it spans.
            const FieldDef& field = table.fields[component.field];
            const int first =
                field.type == FieldType::Group ? component.field + 1 : component.field;
            const int count = field.type == FieldType::Group ? field.groupFields : 1;
            for (int f = first; f < first + count; ++f) {
                const int column = columnOf(f);
                const bool text =
                    columns_[static_cast<std::size_t>(column)].kind == ColumnKind::Text;
                terms.push_back(OrderTerm{column, component.ascending, text && key.noCase});
            }
        }
        terms.push_back(OrderTerm{-1, true, false});
        orders_.push_back(std::move(terms));
    }
}

int TableSchema::columnOf(int field) const {
    for (std::size_t c = 0; c < columns_.size(); ++c)
        if (columns_[c].field == field) return static_cast<int>(c);
    return -1;
}

const std::vector<OrderTerm>& TableSchema::order(int key) const {
    return orders_.at(static_cast<std::size_t>(key + 1));
}

std::string TableSchema::structure() const {
    std::string text;
    for (const Column& column : columns_) {
        text += column.name;
        text += ' ';
        text += column.type;
        text += '\n';
    }
    return text;
}

bool columnTypeWidens(const std::string& oldType, const std::string& newType) {
    if (oldType == newType) return true;
    std::istringstream oldWords(oldType);
    std::istringstream newWords(newType);
    std::string oldKind;
    std::string newKind;
    oldWords >> oldKind;
    newWords >> newKind;
    if (oldKind == "TEXT" && newKind == "TEXT") {
        int oldWidth = 0;
        int newWidth = 0;
        oldWords >> oldWidth;
        newWords >> newWidth;
        return newWidth >= oldWidth;
    }
    if (oldKind == "DEC" && newKind == "DEC") {
        int oldDigits = 0;
        int oldPlaces = 0;
        int newDigits = 0;
        int newPlaces = 0;
        oldWords >> oldDigits >> oldPlaces;
        newWords >> newDigits >> newPlaces;
        return oldPlaces == newPlaces && newDigits >= oldDigits;
    }
    Range oldRange{};
    Range newRange{};
    return integerRange(oldType, oldRange) && integerRange(newType, newRange) &&
           newRange.low <= oldRange.low && newRange.high >= oldRange.high;
}

}  // namespace dv
