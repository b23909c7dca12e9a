#include "storage/SqlRecord.h"

#include <cstring>

#include "data/FieldAccess.h"
#include "runtime/CodePage1250.h"
#include "runtime/TextCase.h"

namespace dv {
namespace {

const FieldDef& fieldOf(const TableSchema& layout, const Column& column) {
    return layout.table().fields[column.field];
}

std::int64_t numberOf(const TableSchema& layout, const Column& column, const void* record) {
    const FieldDef& field = fieldOf(layout, column);
    return column.kind == ColumnKind::Decimal ? readDecimalUnits(record, field, column.element)
                                              : readInteger(record, field, column.element);
}

void bindColumn(SqlStatement& statement, int parameter, const TableSchema& layout,
                const Column& column, const void* record) {
    if (column.kind != ColumnKind::Text) {
        statement.bind(parameter, numberOf(layout, column, record));
        return;
    }
    const std::string_view text =
        trimTrailingBlanks(readText(record, fieldOf(layout, column), column.element));
    if (isAscii(text))
        statement.bind(parameter, text);
    else
        statement.bind(parameter, std::string_view(cp1250ToUtf8(text)));
}

void readColumn(const SqlStatement& statement, int index, const TableSchema& layout,
                const Column& column, void* record) {
    const FieldDef& field = fieldOf(layout, column);
    switch (column.kind) {
        case ColumnKind::Integer:
            writeInteger(record, field, statement.integer(index), column.element);
            break;
        case ColumnKind::Decimal:
            writeDecimalUnits(record, field, statement.integer(index), column.element);
            break;
        case ColumnKind::Text: {
            const std::string_view text = statement.text(index);
            if (isAscii(text))
                writeText(record, field, text, column.element);
            else
                writeText(record, field, utf8ToCp1250(text), column.element);
            break;
        }
    }
}

}  // namespace

void bindRecord(SqlStatement& statement, const TableSchema& layout, const void* record) {
    int parameter = 1;
    for (const Column& column : layout.columns())
        bindColumn(statement, parameter++, layout, column, record);
}

void bindColumns(SqlStatement& statement, const TableSchema& layout, const void* record,
                 const std::vector<int>& columns) {
    int parameter = 1;
    for (const int c : columns)
        bindColumn(statement, parameter++, layout, layout.columns()[static_cast<std::size_t>(c)],
                   record);
}

void changedColumns(const TableSchema& layout, const void* before, const void* after,
                    std::vector<int>& changed) {
    changed.clear();
    const std::vector<Column>& columns = layout.columns();
    for (std::size_t c = 0; c < columns.size(); ++c) {
        if (!sameElement(before, after, fieldOf(layout, columns[c]), columns[c].element))
            changed.push_back(static_cast<int>(c));
    }
}

void readRecord(const SqlStatement& statement, int first, const TableSchema& layout, void* record) {
    int index = first;
    for (const Column& column : layout.columns())
        readColumn(statement, index++, layout, column, record);
}

std::vector<int> selectedColumns(const TableSchema& layout, const std::vector<int>& fields) {
    const TableDef& table = layout.table();
    std::vector<bool> wanted(table.fields.size(), false);
    const auto want = [&](int field) {
        const FieldDef& def = table.fields[static_cast<std::size_t>(field)];
        wanted[static_cast<std::size_t>(field)] = true;
        if (def.type == FieldType::Group)
            for (int f = field + 1; f <= field + def.groupFields; ++f)
                wanted[static_cast<std::size_t>(f)] = true;
    };
    for (const int field : fields)
        if (field >= 0 && field < static_cast<int>(table.fields.size())) want(field);
    for (const KeyDef& key : table.keys)
        for (const KeyComponent& component : key.components) want(component.field);
    for (const FieldRule& rule : table.rules) want(rule.field);
    std::vector<int> columns;
    for (std::size_t c = 0; c < layout.columns().size(); ++c)
        if (wanted[layout.columns()[c].field]) columns.push_back(static_cast<int>(c));
    if (columns.size() == layout.columns().size()) columns.clear();
    return columns;
}

void readRecord(const SqlStatement& statement, int first, const TableSchema& layout,
                const ColumnSelection* selection, void* record) {
    if (selection == nullptr) return readRecord(statement, first, layout, record);
    std::memcpy(record, selection->cleared.data(), selection->cleared.size());
    int index = first;
    for (const int c : selection->columns)
        readColumn(statement, index++, layout, layout.columns()[static_cast<std::size_t>(c)],
                   record);
}

std::vector<KeyValue> keyValues(const TableSchema& layout, int key, const void* record) {
    std::vector<KeyValue> values;
    const std::vector<OrderTerm>& terms = layout.order(key);
    values.reserve(terms.size());
    for (const OrderTerm& term : terms) {
        if (term.column < 0) continue;
        const Column& column = layout.columns()[static_cast<std::size_t>(term.column)];
        if (column.kind == ColumnKind::Text)
            values.emplace_back(
                storedText(readText(record, fieldOf(layout, column), column.element)));
        else
            values.emplace_back(numberOf(layout, column, record));
    }
    return values;
}

}  // namespace dv
