#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace dv {

// How one engine spells what the table layer says in SQL. Called when statements are built
// (once per table and statement), never per row.
class SqlDialect {
  public:
    virtual ~SqlDialect() = default;

    // Parameter `number` (from 1): "?3", "$3".
    virtual std::string placeholder(int number) const = 0;
    // The definition of the row id column "_ROW": the primary key, numbered by the engine.
    virtual std::string rowIdColumn() const = 0;
    // The type of whole-number columns (64 bits).
    virtual std::string integerType() const = 0;
    // The clause after a text term of a case-insensitive key: the Slovenian order.
    virtual std::string noCaseCollation() const = 0;
    // What follows an insert so that it gives the new row's id as its one result row; empty
    // when the statement tells it otherwise (SqlStatement::insertedRow).
    virtual std::string returningRow() const = 0;
    // An insert of `values` parameters into `table` (its first column the primary key) that
    // replaces a row with the same key (`replace`) or leaves it alone.
    virtual std::string upsert(const std::string& table, const std::vector<std::string>& columns,
                               bool replace) const = 0;
    // The statement that begins a transaction that will write.
    virtual std::string beginTransaction() const = 0;
    // The statement that begins a read snapshot.
    virtual std::string beginRead() const = 0;

    // Catalogue queries of `schema`. A row when the table named by parameter 1 exists:
    virtual std::string tableExists(const std::string& schema) const = 0;
    // The names of the program's indexes of the table named by parameter 1:
    virtual std::string indexesOf(const std::string& schema) const = 0;
    // The definition kept for the index named by parameter 1 (one row, one text):
    virtual std::string indexDefinition(const std::string& schema) const = 0;
    // The statement that rebuilds every index of `schema` that orders by the Slovenian rules.
    virtual std::string reindexNoCase(const std::string& schema) const = 0;
    // Whether the expression functions of filters (DV_UPPER, ...) run inside the engine.
    virtual bool runsExpressionFunctions() const = 0;
};

}  // namespace dv
