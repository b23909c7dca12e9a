#pragma once

#include <string>

#include "runtime/ProcedureThread.h"

namespace dv {

// A procedure of the program looked up by its name (see programProcedures()) each time it
// runs, so that a list can name its form and its print window without knowing them. When no
// procedure has that name, message 24 "Procedure not defined" is raised with the name and the
// call answers RespCancelled.
ProcedureBody procedureByName(std::string name);

}  // namespace dv
