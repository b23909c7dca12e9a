#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "storage/SqlStatement.h"
#include "storage/StoredText.h"
#include "storage/TableSchema.h"

namespace dv {

// Moving a typed record to and from the columns of its table. Integers and day numbers are
// stored as they are, decimals as their units, texts as UTF-8 without trailing blanks (the
// record holds them in code page 1250, blank padded).

// Binds every column of the record to parameters 1..n.
inline void bindRecord(SqlStatement& statement, const TableSchema& layout, const void* record) {
    statement.bindRecord(layout, record);
}
// Binds the given columns of the record, in their order, to parameters 1..n.
inline void bindColumns(SqlStatement& statement, const TableSchema& layout, const void* record,
                        const std::vector<int>& columns) {
    statement.bindColumns(layout, record, columns);
}
// The columns whose bytes differ between two images of a record, in column order.
void changedColumns(const TableSchema& layout, const void* before, const void* after,
                    std::vector<int>& changed);
// Fills the record from the result columns `first`.. of the current row.
inline void readRecord(const SqlStatement& statement, int first, const TableSchema& layout,
                       void* record) {
    statement.readRecord(first, layout, nullptr, record);
}

// Some columns of a table read on their own: their numbers in column order, and the image of a
// cleared record that gives the other fields their values.
struct ColumnSelection {
    std::vector<int> columns;
    std::vector<unsigned char> cleared;
};
// The columns of `layout` that reading `fields` (numbers from 0, a group standing for its fields)
// needs: theirs and those of every key and rule of the table. Empty when that is every column.
std::vector<int> selectedColumns(const TableSchema& layout, const std::vector<int>& fields);
// readRecord for the selected columns only (every column without a selection).
inline void readRecord(const SqlStatement& statement, int first, const TableSchema& layout,
                       const ColumnSelection* selection, void* record) {
    statement.readRecord(first, layout, selection, record);
}
// The stored values of the terms of order `key` (the row id left out) in the record.
std::vector<KeyValue> keyValues(const TableSchema& layout, int key, const void* record);

}  // namespace dv
