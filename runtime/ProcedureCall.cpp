#include "runtime/ProcedureCall.h"

namespace dv {

Request CallerRequest = 0;
Response CallerResponse = 0;
std::int32_t CallerVcrRequest = 0;

int callProcedure(const ProcedureBody& procedure, Request request) {
    CallerRequest = request;
    const int response = procedure();
    CallerResponse = static_cast<Response>(response);
    return response;
}

}  // namespace dv
