#pragma once

#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "data/FieldAccess.h"
#include "runtime/CodePage1250.h"
#include "runtime/TextCase.h"
#include "storage/SqlRecord.h"
#include "storage/TableSchema.h"

namespace dv {

// The moves of SqlRecord.h for one engine's statement type, whose bind/integer/text calls are
// then direct (and inlined) rather than through SqlStatement: an engine's statement implements
// SqlStatement::bindRecord and readRecord with these, so a row costs one virtual call.
namespace record_columns {

inline const FieldDef& fieldOf(const TableSchema& layout, const Column& column) {
    return layout.table().fields[column.field];
}

inline std::int64_t numberOf(const TableSchema& layout, const Column& column, const void* record) {
    const FieldDef& field = fieldOf(layout, column);
    return column.kind == ColumnKind::Decimal ? readDecimalUnits(record, field, column.element)
                                              : readInteger(record, field, column.element);
}

template <typename Statement>
void bindColumn(Statement& statement, int parameter, const TableSchema& layout,
                const Column& column, const void* record) {
    if (column.kind != ColumnKind::Text) {
        statement.Statement::bind(parameter, numberOf(layout, column, record));
        return;
    }
    const std::string_view text =
        trimTrailingBlanks(readText(record, fieldOf(layout, column), column.element));
    if (isAscii(text))
        statement.Statement::bind(parameter, text);
    else
        statement.Statement::bind(parameter, std::string_view(cp1250ToUtf8(text)));
}

template <typename Statement>
void readColumn(const Statement& statement, int index, const TableSchema& layout,
                const Column& column, void* record) {
    const FieldDef& field = fieldOf(layout, column);
    switch (column.kind) {
        case ColumnKind::Integer:
            writeInteger(record, field, statement.Statement::integer(index), column.element);
            break;
        case ColumnKind::Decimal:
            writeDecimalUnits(record, field, statement.Statement::integer(index), column.element);
            break;
        case ColumnKind::Text: {
            const std::string_view text = statement.Statement::text(index);
            if (isAscii(text))
                writeText(record, field, text, column.element);
            else
                writeText(record, field, utf8ToCp1250(text), column.element);
            break;
        }
    }
}

template <typename Statement>
void bindRecord(Statement& statement, const TableSchema& layout, const void* record) {
    int parameter = 1;
    for (const Column& column : layout.columns())
        bindColumn(statement, parameter++, layout, column, record);
}

template <typename Statement>
void bindColumns(Statement& statement, const TableSchema& layout, const void* record,
                 const std::vector<int>& columns) {
    int parameter = 1;
    for (const int c : columns)
        bindColumn(statement, parameter++, layout, layout.columns()[static_cast<std::size_t>(c)],
                   record);
}

template <typename Statement>
void readRecord(const Statement& statement, int first, const TableSchema& layout,
                const ColumnSelection* selection, void* record) {
    int index = first;
    if (selection == nullptr) {
        for (const Column& column : layout.columns())
            readColumn(statement, index++, layout, column, record);
        return;
    }
    std::memcpy(record, selection->cleared.data(), selection->cleared.size());
    for (const int c : selection->columns)
        readColumn(statement, index++, layout, layout.columns()[static_cast<std::size_t>(c)],
                   record);
}

}  // namespace record_columns
}  // namespace dv
