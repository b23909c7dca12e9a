#include "framework/ProcedureByName.h"

#include "runtime/MessageRaiser.h"
#include "runtime/ProcedureCall.h"
#include "runtime/ProcedureRegistry.h"

namespace dv {

ProcedureBody procedureByName(std::string name) {
    return [name = std::move(name)]() -> Response {
        const ProcedureBody* body = programProcedures().find(name);
        if (body == nullptr) {
            // The caller's request is not taken by anyone; the next call must not see it.
            CallerRequest = Request::None;
            raiseProcedureNotDefined(name);
            return RespCancelled;
        }
        // A copy: the registry may change while the procedure runs.
        const ProcedureBody procedure = *body;
        return procedure();
    };
}

}  // namespace dv
