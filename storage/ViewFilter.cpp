#include "storage/ViewFilter.h"

#include "data/ExpressionNames.h"

namespace dv {

ViewFilter::ViewFilter(std::string_view text, const TableSchema& schema)
    : expression_(Expression::compile(text, ProgramNames())), sql_(expression_, schema) {}

}  // namespace dv
