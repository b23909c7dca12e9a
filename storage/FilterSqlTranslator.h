#pragma once

#include <optional>

#include "runtime/ExpressionNode.h"
#include "storage/FilterSqlFragment.h"
#include "storage/TableSchema.h"

namespace dv {

// Turns parts of an expression over one table into SQL over its columns, with the meaning the
// evaluator gives them. A part that cannot be said in SQL with that meaning gives nothing:
// fields of another table, arrays, functions that need the runtime (INLIST), a comparison of
// a text field with a number, decimals whose scaling could overflow.
class FilterSqlTranslator {
  public:
    explicit FilterSqlTranslator(const TableSchema& schema) : schema_(schema) {}

    // The part as a truth value (0 or 1) in SQL.
    std::optional<SqlFragment> condition(const ExpressionNode& node) const;
    // The part as an SQL value.
    std::optional<SqlFragment> translate(const ExpressionNode& node) const;
    // Whether a part translated so far calls an expression function (which the engine must
    // run, see SqlDialect::runsExpressionFunctions).
    bool calledFunctions() const { return called_; }

  private:
    bool isConstant(const ExpressionNode& node) const;
    std::optional<SqlFragment> column(const ExpressionNode& node) const;
    std::optional<SqlFragment> call(const ExpressionNode& node) const;
    std::optional<SqlFragment> negate(const ExpressionNode& node) const;
    std::optional<SqlFragment> logical(const ExpressionNode& node) const;
    std::optional<SqlFragment> compare(const ExpressionNode& node) const;

    const TableSchema& schema_;
    mutable bool called_ = false;
};

}  // namespace dv
