#include "schema/ProgramGlobals.h"

namespace dv {

ProgramGlobals GLO;

void clearProgramGlobals() {
    GLO = ProgramGlobals{};
}

namespace {

void registerProgramGlobals(GlobalVariables& registry) {
#define DV_ADD_GLOBAL(name, ...) registry.add("GLO:" #name, GLO.name);
#define DV_ADD_VALUE(name, ...) registry.add(#name, GLO.name);
    DV_PROGRAM_GLOBALS(DV_ADD_GLOBAL)
    DV_PROGRAM_VALUES(DV_ADD_VALUE)
#undef DV_ADD_GLOBAL
#undef DV_ADD_VALUE
}

}  // namespace

const GlobalVariables& programGlobalNames() {
    static GlobalVariables registry;
    static const bool registered = (registerProgramGlobals(registry), true);
    static_cast<void>(registered);
    return registry;
}

}  // namespace dv
