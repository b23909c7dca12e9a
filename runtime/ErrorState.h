#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace dv {

// The runtime's last error, kept per thread: its code and text, and for code 90 (the file driver
// reports an error of its own) the driver's own code and text; the name of the table file
// involved. The table engine fills it after each operation; the message reporter reads it.
struct ErrorState {
    std::int32_t code = 0;
    std::string text;
    std::string fileErrorCode;
    std::string fileErrorText;
    std::string fileName;
};

// The runtime error code with which a file driver reports an error of its own.
inline constexpr std::int32_t kFileDriverError = 90;

// The last error of the calling thread.
const ErrorState& lastError();

void setLastError(std::int32_t code, std::string_view text, std::string_view fileName = {});
void setLastFileError(std::string_view driverCode, std::string_view driverText,
                      std::string_view fileName = {});
void setLastError(const ErrorState& state);
void clearLastError();

}  // namespace dv
