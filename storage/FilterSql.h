#pragma once

#include <string>
#include <vector>

#include "runtime/Expression.h"
#include "storage/FilterSqlFragment.h"
#include "storage/SqlDialect.h"
#include "storage/SqlStatement.h"
#include "storage/TableSchema.h"

namespace dv {

class FilterSqlTranslator;

// A filter over one table, split so that the database does what it can: the conjuncts of the
// filter (its parts joined by AND at the top) that SQL can test with the evaluator's meaning
// become one SQL condition over the table's columns, the others stay a residual that is tested
// row by row on the record read (an OR with any untranslatable part stays whole in the
// residual). Every value in the condition, literals and GLO:/LOC: variables alike, is a
// parameter, read each time the condition is bound: text a user typed never becomes SQL.
//
// The filter must be compiled with the table's fields bound (ProgramNames or a
// RecordFieldResolver) and must outlive this object. Conditions that call functions need
// registerExpressionFunctions on the connection.
class FilterSql {
  public:
    FilterSql(const Expression& filter, const TableSchema& schema);

    // The SQL condition, its parameters numbered from `firstParameter` in the dialect's way
    // ("?5", "?6", ...); empty when no part of the filter could be translated.
    std::string condition(int firstParameter, const SqlDialect& dialect) const;
    // Whether the condition calls expression functions, which the engine must run.
    bool callsFunctions() const { return callsFunctions_; }
    int parameterCount() const { return static_cast<int>(parameters_.size()); }
    // The parameters' values now, in their order.
    std::vector<KeyValue> parameterValues() const;
    // Binds the values now to parameters firstParameter.. of the statement.
    void bind(SqlStatement& statement, int firstParameter = 1) const;

    bool hasResidual() const { return !residual_.empty(); }
    // The untranslated part on the record its fields are read from (the table's record buffer,
    // unless the filter was bound otherwise); true when there is none.
    bool residualMatches() const;

  private:
    void split(const ExpressionNode& node, const FilterSqlTranslator& translator);

    std::vector<std::string> conditions_;
    std::vector<SqlParameter> parameters_;
    std::vector<const ExpressionNode*> residual_;
    bool callsFunctions_ = false;
};

}  // namespace dv
