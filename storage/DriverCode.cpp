#include "storage/DriverCode.h"

namespace dv {

std::string_view driverCodeText(DriverCode code) {
    switch (code) {
        case DriverCode::Ok:
            return "No Error";
        case DriverCode::FileNotFound:
            return "File Not Found";
        case DriverCode::AccessDenied:
            return "Access Denied";
        case DriverCode::NoMoreRecords:
            return "Record Not Available";
        case DriverCode::DuplicateKey:
            return "Creates Duplicate Key";
        case DriverCode::RecordHeld:
            return "Record Is Already Held";
        case DriverCode::KeyInvalid:
            return "Invalid Key File";
        case DriverCode::AlreadyOpen:
            return "File Already Open";
        case DriverCode::NoTransactions:
            return "Function Not Supported";
        case DriverCode::ChangedByOther:
            return "Record Changed By Another Station";
        case DriverCode::DriverError:
            return "File System Error";
    }
    return "Unknown Error";
}

}  // namespace dv
