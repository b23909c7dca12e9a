#include "framework/RecordFetch.h"

#include "data/RecordBuffers.h"
#include "storage/FileManager.h"

namespace dv {

bool fetchRecord(FileManager& file, int key) {
    const Level result = file.Fetch(key);
    if (result == kLevelBenign) return true;
    if (result == kLevelNotify) {
        const TableDriver* driver = file.driver();
        if (driver != nullptr && driver->lastError().code != DriverCode::NoMoreRecords)
            file.RaiseLastError();
    }
    clearRecord(file.table(), file.buffer());
    return false;
}

}  // namespace dv
