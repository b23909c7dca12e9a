#pragma once

#include <string>
#include <string_view>

#include "runtime/Expression.h"
#include "storage/FilterSql.h"
#include "storage/KeysetCursor.h"
#include "storage/SqlStatement.h"
#include "storage/TableSchema.h"

namespace dv {

// The filter of a view: an expression over the fields of its tables and the program's
// variables, split into the part the database applies (an SQL condition with bound values) and
// the rest, which is tested on each record read. Names are bound to the tables' record buffers,
// the program-wide variables and the running procedure's local variables when it is made.
class ViewFilter final : public KeysetCondition {
  public:
    // Throws ExpressionError for text it cannot read or a name it does not know.
    ViewFilter(std::string_view text, const TableSchema& schema);
    ViewFilter(const ViewFilter&) = delete;
    ViewFilter& operator=(const ViewFilter&) = delete;

    const std::string& text() const { return expression_.text(); }

    // The part the database applies, its parameters numbered from `firstParameter`; empty when
    // it applies no part.
    std::string condition(int firstParameter, const SqlDialect& dialect) const override {
        return sql_.condition(firstParameter, dialect);
    }
    bool callsFunctions() const override { return sql_.callsFunctions(); }
    void bind(SqlStatement& statement, int firstParameter) const override {
        sql_.bind(statement, firstParameter);
    }
    // The rest, on the record in the buffers.
    bool residualMatches() const { return sql_.residualMatches(); }
    // The whole filter, on the record in the buffers.
    bool matches() const { return expression_.isTrue(); }

  private:
    Expression expression_;
    FilterSql sql_;
};

}  // namespace dv
