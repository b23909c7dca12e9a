#include "runtime/ProcedureCall.h"

namespace dv {

Request CallerRequest = Request::None;
Response CallerResponse = Response::None;
std::int32_t CallerVcrRequest = 0;

Response callProcedure(const ProcedureBody& procedure, Request request) {
    CallerRequest = request;
    const Response response = procedure();
    CallerResponse = response;
    return response;
}

}  // namespace dv
