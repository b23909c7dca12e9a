#pragma once

#include <cstdint>

#include "runtime/ProcedureThread.h"

namespace dv {

// What a caller asks of a form or list it calls (one byte).
using Request = std::uint8_t;
inline constexpr Request ReqInsert = 1;
inline constexpr Request ReqChange = 2;
inline constexpr Request ReqDelete = 3;
inline constexpr Request ReqSelect = 4;
inline constexpr Request ReqView = 6;

// How a called procedure ended.
using Response = std::uint8_t;
inline constexpr Response RespCompleted = 1;
inline constexpr Response RespCancelled = 2;

// The program-wide hand-over between a caller and the procedure it calls: the request passed
// in, the response passed back, and the toolbar navigation (a toolbar control number) that a
// form was closed with. Procedure threads take turns, so they need no lock.
extern Request CallerRequest;
extern Response CallerResponse;
extern std::int32_t CallerVcrRequest;

// Calls a procedure on the caller's thread: sets CallerRequest, runs it until it returns, and
// stores and returns its response (also in CallerResponse).
int callProcedure(const ProcedureBody& procedure, Request request);

}  // namespace dv
