#pragma once

#include <memory>
#include <string_view>
#include <utility>

#include "data/ExpressionFields.h"
#include "runtime/ExpressionNames.h"

namespace dv {

// The names the program's expressions use, asked in this order: the local variables of the
// running procedure (the innermost LocalVariables of the thread), the program-wide variables
// (globalVariables() of the installed catalogue) and the fields of the tables (fields()).
class ProgramNames final : public NameResolver {
  public:
    ProgramNames() = default;
    explicit ProgramNames(RecordFieldResolver fields) : fields_(std::move(fields)) {}

    RecordFieldResolver& fields() { return fields_; }

    std::unique_ptr<ValueSource> resolve(std::string_view name) const override;

  private:
    RecordFieldResolver fields_;
};

}  // namespace dv
