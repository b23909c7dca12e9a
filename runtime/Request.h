#pragma once

#include <cstdint>

namespace dv {

// What a caller asks of a form or list it calls (one byte). None: nothing asked; a procedure
// started from the menu sees it.
enum class Request : std::uint8_t {
    None = 0,
    Insert = 1,
    Change = 2,
    Delete = 3,
    Select = 4,
    View = 6
};
inline constexpr Request ReqInsert = Request::Insert;
inline constexpr Request ReqChange = Request::Change;
inline constexpr Request ReqDelete = Request::Delete;
inline constexpr Request ReqSelect = Request::Select;
inline constexpr Request ReqView = Request::View;

// How a called procedure ended. None: it has not ended yet, or said nothing.
enum class Response : std::uint8_t { None = 0, Completed = 1, Cancelled = 2 };
inline constexpr Response RespCompleted = Response::Completed;
inline constexpr Response RespCancelled = Response::Cancelled;

// The number the program writes for a request or response (a window's position is kept per
// procedure; messages and logs show the number).
constexpr int requestNumber(Request request) {
    return static_cast<int>(request);
}
constexpr int responseNumber(Response response) {
    return static_cast<int>(response);
}

}  // namespace dv
