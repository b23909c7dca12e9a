#include "framework/ProcedureDefinition.h"
#include "framework/WindowProcedure.h"

namespace dv {

// The window " INFORMACIJA" with the order in which a stocktake is done, until "ZAPRI" (or its
// close box) closes it.
DV_PROCEDURE(InvInfo) {
    WindowProcedure info{std::string(procedure)};
    info.AddEndButton("Zapri", RespCompleted);
    return info.Execute();
}

}  // namespace dv
