#include "data/RecordBuffers.h"
#include "runtime/MessageTable.h"
#include "storage/FileManager.h"
#include "storage/FileManagerState.h"

namespace dv {

Level FileManager::Next() {
    return sequential(true, true);
}
Level FileManager::Previous() {
    return sequential(false, true);
}
Level FileManager::NextSilently() {
    return sequential(true, false);
}
Level FileManager::PreviousSilently() {
    return sequential(false, false);
}

// A held record is skipped (when asked to) as long as reading moves on; a driver that stays on
// the same place when it meets a held record would otherwise be asked forever.
Level FileManager::sequential(bool forward, bool report) {
    ThreadInfo& info = thread();
    if (useCheck(info) != kLevelBenign) return kLevelFatal;
    info.atEof = false;
    TableDriver& driver = *info.driver;
    std::int64_t heldAt = -1;
    for (;;) {
        const DriverCode code = forward ? driver.next() : driver.previous();
        switch (code) {
            case DriverCode::Ok:
                remember(info);
                return kLevelBenign;
            case DriverCode::NoMoreRecords:
                info.atEof = true;
                return kLevelNotify;
            case DriverCode::RecordHeld: {
                const std::int64_t row = driver.position().row;
                if (settings_.skipHeldRecords && row != heldAt) {
                    heldAt = row;
                    continue;
                }
                note(info, message::RecordNotRead);
                return report ? raiseNoted(info) : kLevelNotify;
            }
            default:
                note(info, message::RecordRetrievalError);
                return report ? raiseNoted(info) : kLevelFatal;
        }
    }
}

Level FileManager::Fetch(int key) {
    ThreadInfo& info = thread();
    if (useCheck(info) != kLevelBenign) return kLevelFatal;
    if (info.driver->get(key) != DriverCode::Ok) {
        note(info, message::RecordRetrievalError);
        return kLevelNotify;
    }
    remember(info);
    return kLevelBenign;
}

Level FileManager::FetchOrClear(int key) {
    const Level result = Fetch(key);
    if (result == kLevelNotify) clearRecord(table_, buffer());
    return result;
}

}  // namespace dv
