#include "data/RecordBuffers.h"
#include "runtime/MessageTable.h"
#include "storage/FileManager.h"
#include "storage/FileManagerState.h"
#include "storage/RelationKeeper.h"

namespace dv {

Level FileManager::PrepareNew(bool keepBuffer) {
    if (!keepBuffer) clearRecord(table_, buffer());
    FieldDefaults();
    if (!hasAutoInc_ || thread().autoIncDone) return kLevelBenign;
    return AutoNumber();
}

Level FileManager::Insert() {
    return insert(true);
}
Level FileManager::InsertSilently() {
    return insert(false);
}

Level FileManager::insert(bool report) {
    ThreadInfo& info = thread();
    if (useCheck(info) != kLevelBenign) return kLevelFatal;
    if (CheckRecord(1, report) != 0) return kLevelNotify;
    const bool inPlace = hasAutoInc_ && info.autoIncDone;
    DriverCode code;
    if (!hasAutoInc_) {
        code = info.driver->add();
    } else if (inPlace) {
        code = putReserved(info);
    } else {
        if (const Level result = autoNumber(info, report); result != kLevelBenign) return result;
        code = DriverCode::Ok;
    }
    if (code == DriverCode::Ok) {
        info.autoIncDone = false;
        remember(info);
        return kLevelBenign;
    }
    if (code == DriverCode::DuplicateKey) return duplicateKey(info, inPlace, report);
    note(info, message::RecordInsertError);
    return report ? raiseNoted(info) : kLevelNotify;
}

// The record that auto-numbering added is written with the buffer's values. When this thread
// read another record of the table since, the added one becomes current again first.
DriverCode FileManager::putReserved(ThreadInfo& info) {
    TableDriver& driver = *info.driver;
    if (driver.position().row != info.reserved.row) {
        const BufferCopy values(table_, buffer());
        const DriverCode code = driver.reget(info.reserved);
        values.restoreInto(buffer());
        if (code != DriverCode::Ok) return code;
    }
    return driver.put();
}

// The first unique key for which the buffer duplicates a stored record: another record than
// the one being written in place, or any record when the buffer is a new one.
int FileManager::firstDuplicateKey(ThreadInfo& info, bool inPlace) {
    for (std::size_t k = 0; k < table_.keys.size(); ++k)
        if (table_.keys[k].unique && info.driver->isDuplicate(static_cast<int>(k), inPlace))
            return static_cast<int>(k);
    return -1;
}

Level FileManager::duplicateKey(ThreadInfo& info, bool inPlace, bool report) {
    const ErrorState failure = lastError();
    const int key = firstDuplicateKey(info, inPlace);
    setLastError(failure);
    const std::string_view description =
        key >= 0 ? table_.keys[static_cast<std::size_t>(key)].description : std::string_view();
    note(info, message::DuplicateKeyError, {}, description, true);
    return report ? raiseNoted(info) : kLevelNotify;
}

Level FileManager::Update() {
    return update(true);
}
Level FileManager::UpdateSilently() {
    return update(false);
}

// A record that another station changed since this thread read it is not written: the message
// is noted (and raised by the reporting form), then the record is read again, so that the
// buffer shows the other station's version.
Level FileManager::update(bool report) {
    ThreadInfo& info = thread();
    if (useCheck(info) != kLevelBenign) return kLevelFatal;
    if (CheckRecord(1, report) != 0) return kLevelUser;
    TableDriver& driver = *info.driver;
    const DriverPosition position = driver.position();
    const DriverCode code = driver.put();
    if (code == DriverCode::Ok) {
        remember(info);
        return kLevelBenign;
    }
    if (code != DriverCode::ChangedByOther) {
        note(info, message::RecordWasNotChanged);
        return report ? raiseNoted(info) : kLevelNotify;
    }
    note(info, message::RecordWasNotUpdated);
    if (report) raiseNoted(info);
    driver.watch();
    if (driver.reget(position) == DriverCode::Ok) remember(info);
    return kLevelNotify;
}

Level FileManager::Remove() {
    ThreadInfo& info = thread();
    if (useCheck(info) != kLevelBenign) return kLevelFatal;
    if (info.driver->remove() != DriverCode::Ok) {
        note(info, message::RecordWasNotDeleted);
        return kLevelNotify;
    }
    info.stored.clear();
    return kLevelBenign;
}

Level FileManager::CancelAutoNumber(RelationKeeper* keeper) {
    ThreadInfo& info = thread();
    if (!info.autoIncDone) return kLevelBenign;
    if (useCheck(info) != kLevelBenign) return kLevelFatal;
    const DriverCode code = info.driver->reget(info.reserved);
    if (code == DriverCode::NoMoreRecords) {
        info.autoIncDone = false;  // already gone
        return kLevelBenign;
    }
    if (code != DriverCode::Ok) {
        note(info, message::RecordWasNotDeleted);
        return kLevelNotify;
    }
    remember(info);
    const Level result = keeper != nullptr ? keeper->DeleteWithRules(false) : Remove();
    if (result == kLevelBenign) info.autoIncDone = false;
    return result;
}

}  // namespace dv
