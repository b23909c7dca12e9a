#include "data/ExpressionNames.h"

#include "data/Catalogue.h"
#include "runtime/LocalVariables.h"

namespace dv {

std::unique_ptr<ValueSource> ProgramNames::resolve(std::string_view name) const {
    return NameResolverChain{LocalVariables::innermost(), &globalVariables(), &fields_}.resolve(
        name);
}

}  // namespace dv
