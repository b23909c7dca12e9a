#include "framework/ListSelection.h"

#include <string>

#include "framework/ProcedureByName.h"
#include "runtime/ProcedureCall.h"
#include "runtime/ProcedureRegistry.h"

namespace dv {

bool selectFromList(std::string_view name) {
    return callProcedure(procedureByName(std::string(name)), ReqSelect) == RespCompleted;
}

bool hasList(std::string_view name) {
    return programProcedures().find(name) != nullptr;
}

}  // namespace dv
