#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "data/TableDef.h"

namespace dv {

// How a column holds its field: integers and day numbers, decimal units, or UTF-8 text.
enum class ColumnKind : std::uint8_t { Integer, Decimal, Text };

// One column of a table in the database: a field, or one element of an array field.
struct Column {
    std::uint16_t field;
    std::uint16_t element;
    ColumnKind kind;
    std::string name;  // the field name in upper case; NAME_n for element n (from 1) of an array
    std::string type;  // type and width ("TEXT 13", "DEC 9 3", "U16"), to notice a changed field
};

// One term of a key order: a column (or the row id, column -1) with its direction; `collated`
// text is compared the Slovenian way without regard to case.
struct OrderTerm {
    int column;
    bool ascending;
    bool collated;
};

// The database layout of a table, derived from its metadata: its columns (groups are not
// stored, their fields are) and the order terms of each key. Every key order ends in the row
// id, so records with equal key values keep the order in which they were added.
class TableSchema {
  public:
    explicit TableSchema(const TableDef& table);

    const TableDef& table() const { return table_; }
    const std::vector<Column>& columns() const { return columns_; }
    // The terms of a key order, the row id last; kFileOrder (-1): the row id alone.
    const std::vector<OrderTerm>& order(int key) const;
    // Key components, without the row id.
    std::size_t keyComponents(int key) const { return order(key).size() - 1; }
    // "NAME TYPE" of every column, one per line: the structure as the registry keeps it.
    std::string structure() const;

  private:
    int columnOf(int field) const;

    const TableDef& table_;
    std::vector<Column> columns_;
    std::vector<std::vector<OrderTerm>> orders_;  // [0]: file order, [k + 1]: key k
};

// Whether a column stored as `oldType` can be read as `newType` without loss: the same type, a
// wider text, a decimal with more digits and the same places, or an integer of a wider range.
bool columnTypeWidens(const std::string& oldType, const std::string& newType);

}  // namespace dv
