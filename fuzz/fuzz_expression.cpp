// Filter and condition expressions, compiled against the program's own names (its variables
// and the fields of every table) and evaluated when they compile.
#include "FuzzInput.h"
#include "data/ExpressionNames.h"
#include "runtime/Expression.h"
#include "runtime/ExpressionError.h"
#include "schema/ProgramCatalogue.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    dv::installCatalogue(&dv::programCatalogue());
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace dv;
    static const ProgramNames names;
    try {
        const Expression expression = Expression::compile(fuzz::asText(data, size), names);
        (void)expression.isTrue();
    } catch (const ExpressionError&) {
    }
    return 0;
}
