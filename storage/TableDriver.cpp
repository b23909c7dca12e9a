#include "storage/TableDriver.h"

#include <utility>

#include "runtime/ErrorState.h"
#include "runtime/TextCase.h"

namespace dv {

TableDriver::TableDriver(const TableDef& table, std::string fileName)
    : table_(table), fileName_(std::move(fileName)), record_(table.buffer) {}

TableDriver::Command TableDriver::parseCommand(std::string_view command) {
    const std::size_t equals = command.find('=');
    if (equals == std::string_view::npos) return Command{trimBlanks(command), {}};
    return Command{trimBlanks(command.substr(0, equals)), trimBlanks(command.substr(equals + 1))};
}

DriverCode TableDriver::succeed() {
    if (error_.code != DriverCode::Ok) error_ = DriverError{};
    if (dv::lastError().code != 0) clearLastError();
    return DriverCode::Ok;
}

DriverCode TableDriver::fail(DriverCode code, std::int32_t nativeCode, std::string text) {
    error_ = DriverError{code, nativeCode, std::move(text)};
    ErrorState state;
    state.code = static_cast<std::int32_t>(code);
    state.text = driverCodeText(code);
    state.fileErrorCode = std::to_string(nativeCode);
    state.fileErrorText = error_.text;
    state.fileName = fileName_;
    setLastError(state);
    return code;
}

DriverCode TableDriver::fail(const DriverError& error) {
    return fail(error.code, error.nativeCode, error.text);
}

}  // namespace dv
