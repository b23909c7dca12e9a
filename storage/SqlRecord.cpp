#include "storage/SqlRecord.h"

#include <cstring>

#include "data/FieldAccess.h"
#include "storage/SqlRecordColumns.h"

namespace dv {

using record_columns::fieldOf;
using record_columns::numberOf;

void changedColumns(const TableSchema& layout, const void* before, const void* after,
                    std::vector<int>& changed) {
    changed.clear();
    const std::vector<Column>& columns = layout.columns();
    for (std::size_t c = 0; c < columns.size(); ++c) {
        if (!sameElement(before, after, fieldOf(layout, columns[c]), columns[c].element))
            changed.push_back(static_cast<int>(c));
    }
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
