#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace dv {

// Result codes of the table drivers, the runtime's error codes for table operations.
enum class DriverCode : std::int32_t {
    Ok = 0,
    FileNotFound = 2,
    AccessDenied = 5,
    NoMoreRecords = 33,  // also: the record asked for is not there
    DuplicateKey = 40,
    RecordHeld = 43,
    KeyInvalid = 46,  // a key (index) is missing or damaged and must be rebuilt
    AlreadyOpen = 52,
    NoTransactions = 80,
    ChangedByOther = 89,
    DriverError = 90,  // an error of the driver's own, described by its text
};

// The runtime's short text for a code ("Record Not Available" for 33).
std::string_view driverCodeText(DriverCode code);

// The failure of the last driver operation: the code, the driver's own code (the SQLite
// extended result code, an errno, or 0) and a sentence that says what went wrong.
struct DriverError {
    DriverCode code = DriverCode::Ok;
    std::int32_t nativeCode = 0;
    std::string text;
};

}  // namespace dv
