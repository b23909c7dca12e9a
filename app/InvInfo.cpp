#include "app/InvInfo.h"

#include "framework/ProgramServices.h"
#include "framework/WindowProcedure.h"
#include "runtime/LayoutResources.h"

namespace dv {

int runInvInfo() {
    WindowProcedure info("InvInfo", windowLayout("InvInfo"), programErrors(), &programSettings());
    info.AddEndButton("Zapri", RespCompleted);
    return info.Execute();
}

}  // namespace dv
