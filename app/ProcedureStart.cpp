#include "app/ProcedureStart.h"

#include <string>

#include "runtime/MessageRaiser.h"
#include "runtime/ProcedureRegistry.h"
#include "runtime/ProcedureScheduler.h"

namespace dv {
namespace {

ProcedureScheduler& schedulerOfCaller() {
    ProcedureThread* caller = ProcedureThread::current();
    return caller != nullptr ? caller->scheduler() : programScheduler();
}

}  // namespace

void startProcedure(std::string_view name) {
    const ProcedureBody* body = programProcedures().find(name);
    if (body == nullptr) {
        raiseProcedureNotDefined(name);
        return;
    }
    schedulerOfCaller().start(std::string(name), *body);
}

}  // namespace dv
