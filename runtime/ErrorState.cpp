#include "runtime/ErrorState.h"

namespace dv {
namespace {

ErrorState& threadError() {
    thread_local ErrorState state;
    return state;
}

}  // namespace

const ErrorState& lastError() {
    return threadError();
}

void setLastError(std::int32_t code, std::string_view text, std::string_view fileName) {
    ErrorState& state = threadError();
    state = ErrorState{};
    state.code = code;
    state.text = text;
    state.fileName = fileName;
}

void setLastFileError(std::string_view driverCode, std::string_view driverText,
                      std::string_view fileName) {
    ErrorState& state = threadError();
    state = ErrorState{};
    state.code = kFileDriverError;
    state.text = "File System Error";
    state.fileErrorCode = driverCode;
    state.fileErrorText = driverText;
    state.fileName = fileName;
}

void setLastError(const ErrorState& state) {
    threadError() = state;
}

void clearLastError() {
    threadError() = ErrorState{};
}

}  // namespace dv
