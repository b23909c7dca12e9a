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

    // The name under which the engine keeps a table or column of the dictionary (unquoted). A
    // server folds the names of statements typed by hand to lower case, so that it keeps them
    // in lower case: "SELECT ean FROM artikli" finds them, as it does on the embedded database.
    virtual std::string storedName(std::string_view name) const { return std::string(name); }
    // Parameter `number` (from 1): "?3", "$3".
    virtual std::string placeholder(int number) const = 0;
    // The definition of the row id column "_ROW": the primary key, numbered by the engine.
    virtual std::string rowIdColumn() const = 0;
    // The type of whole-number columns (64 bits).
    virtual std::string integerType() const = 0;
    // The type of text columns: compared byte for byte unless a term says otherwise.
    virtual std::string textType() const = 0;
    // "name ON table" of a CREATE INDEX, both quoted; `schema` is empty for the text the
    // catalogue keeps.
    virtual std::string indexTarget(const std::string& schema, const std::string& index,
                                    const std::string& table) const = 0;
    // Whether an index that allows duplicates names the row id as its last column (it orders
    // equal values by it); else the engine keeps them in row id order by itself.
    virtual bool indexesEndInRowId() const = 0;
    // The statement that keeps `definition` as the text of the index (see indexDefinition);
    // empty when the engine's catalogue keeps it by itself.
    virtual std::string describeIndex(const std::string& schema, const std::string& index,
                                      const std::string& definition) const = 0;
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
    // Whether the engine applies the SQL condition of a filter, `callsFunctions` when it calls
    // the expression functions (DV_UPPER, ...); else the program tests the whole filter.
    virtual bool runsFilterConditions(bool callsFunctions) const = 0;
};

}  // namespace dv
