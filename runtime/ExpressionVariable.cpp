#include "runtime/ExpressionVariable.h"

#include "runtime/TextCase.h"

namespace dv::detail {

std::optional<Decimal> numberToStore(const ExpressionValue& value) {
    if (value.isNumber()) return value.toNumber();
    const std::string text = value.toText();
    if (trimBlanks(text).empty()) return Decimal();
    return readPlainNumber(text);
}

}  // namespace dv::detail
