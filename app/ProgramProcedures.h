#pragma once

#include "runtime/ProcedureRegistry.h"

namespace dv {

// Registers every procedure of the program under its name, so that the menu, `START` in code,
// lookups and UI scripts find it.
void registerProgramProcedures(ProcedureRegistry& registry);

}  // namespace dv
