#pragma once

#include <string>
#include <vector>

#include "storage/SqlDialect.h"
#include "storage/TableSchema.h"

namespace dv {

// The SQL of one table in one schema of a connection, built from its layout and the engine's
// dialect only: identifiers are the dictionary's names in double quotes, every value is a
// numbered parameter.
//
// Result rows of the selects hold "_ROW" (the row id), "_VERSION" (raised by every update, for
// the check that nobody changed a record since it was read) and then the columns in layout order.
class TableSql {
  public:
    TableSql(const TableSchema& layout, std::string schema, const SqlDialect& dialect);

    const TableSchema& layout() const { return layout_; }
    const std::string& schema() const { return schema_; }
    const SqlDialect& dialect() const { return *dialect_; }
    // "d1"."INVENDET" (on a server "d1"."invendet")
    const std::string& qualifiedName() const { return qualified_; }
    // The table's name as the engine keeps it, unquoted (see SqlDialect::storedName).
    std::string storedTableName() const;
    // A column's name as the engine keeps it, quoted.
    std::string name(std::string_view column) const;

    std::string createTable() const;
    std::string addColumn(const Column& column) const;
    // With `withSchema` off, the text the catalogue keeps for the index (see
    // SqlDialect::indexDefinition).
    std::string createIndex(int key, bool withSchema = true) const;
    std::string indexName(int key) const;
    // Parameters 1..n: the columns; an insert takes the version 0 and gives the new row id
    // (SqlDialect::returningRow).
    std::string insert() const;
    // Parameters 1..n the columns, n+1 the row id, n+2 the version read.
    std::string update() const;
    // The same for the given columns only (parameters 1..n in their order, then row and version):
    // an index none of whose columns is set is left alone.
    std::string update(const std::vector<int>& columns) const;
    // Parameters 1 the row id, 2 the version read.
    std::string remove() const;
    std::string count() const;

    // Rows in the order `key` (kFileOrder: row order), forward or backward: the first `equal`
    // order terms equal to parameters 1..equal, term `after` (when >= 0) strictly after parameter
    // after+1 in the reading direction, ordered by the terms from `equal` on; parameter t+1 (t the
    // number of terms, the row id included) is the limit. A `condition` that is not empty must
    // hold as well (its parameters numbered from t+2). With `orEqual` term `after` may also equal
    // its parameter.
    // Only the given `columns` follow the row id and the version, when it is not null.
    std::string select(int key, int equal, int after, bool forward, std::string_view condition = {},
                       bool orEqual = false, const std::vector<int>* columns = nullptr) const;

    // The row ids of the records whose components of `key` equal parameters 1..n (n the key's
    // components), at most parameter n+1 of them. Only the row id is read, so the key's index
    // answers it alone, without reading a row.
    std::string rowIds(int key) const;

    // An order term as SQL: the quoted column (with its collation) or the row id.
    std::string term(const OrderTerm& term) const;

  private:
    std::string columnList(const std::vector<int>* columns = nullptr) const;
    std::string parameter(std::size_t number) const {
        return dialect_->placeholder(static_cast<int>(number));
    }

    const TableSchema& layout_;
    std::string schema_;
    const SqlDialect* dialect_;
    std::string qualified_;
};

// An SQL identifier in double quotes.
std::string sqlName(std::string_view name);

}  // namespace dv
