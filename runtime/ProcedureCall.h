#pragma once

#include <cstdint>

#include "runtime/ProcedureThread.h"

namespace dv {

// The program-wide hand-over between a caller and the procedure it calls: the request passed
// in, the response passed back, and the toolbar navigation (a toolbar control number) that a
// form was closed with. Procedure threads take turns, so they need no lock.
extern Request CallerRequest;
extern Response CallerResponse;
extern std::int32_t CallerVcrRequest;

// Calls a procedure on the caller's thread: sets CallerRequest, runs it until it returns, and
// stores and returns its response (also in CallerResponse).
Response callProcedure(const ProcedureBody& procedure, Request request);

}  // namespace dv
