#include "data/ProgramDirectory.h"
#include "runtime/MessageTable.h"
#include "storage/FileManager.h"
#include "storage/FileManagerState.h"

namespace dv {

Level FileManager::Open(bool force) {
    return openTable(force, true);
}

Level FileManager::OpenSilently(bool force) {
    return openTable(force, false);
}

Level FileManager::openTable(bool force, bool report) {
    ThreadInfo& info = thread();
    if (!info.used && (force || (!settings_.lazyOpen && info.opened == 0))) {
        if (const Level result = physicalOpen(info, report); result != kLevelBenign) return result;
    }
    ++info.opened;
    return kLevelBenign;
}

Level FileManager::Close() {
    ThreadInfo& info = thread();
    if (info.opened == 0) return kLevelBenign;
    if (--info.opened > 0) return kLevelBenign;
    if (info.used) {
        info.driver->close();
        info.used = false;
    }
    info.driver.reset();
    info.stored.clear();
    info.autoIncDone = false;
    return kLevelBenign;
}

Level FileManager::UseFile() {
    return useCheck(thread());
}

// A table that this thread never opened is a programming error, also when it is not opened
// lazily (the driver would only say that it is not open).
Level FileManager::useCheck(ThreadInfo& info) {
    errors().quoteFile(fileName());
    if (info.used) return kLevelBenign;
    if (info.opened == 0) {
        note(info, message::FileUsageError);
        raiseNoted(info);
        return kLevelFatal;
    }
    const BufferCopy kept(table_, buffer());
    const Level result = physicalOpen(info, true);
    kept.restoreInto(buffer());
    return result == kLevelBenign ? kLevelBenign : kLevelFatal;
}

TableDriver& FileManager::driverFor(ThreadInfo& info) {
    const std::string name = fileName();
    if (!info.driver || info.driverFile != name) {
        info.driver = factory_(table_, hostPath(name));
        info.driverFile = name;
    }
    return *info.driver;
}

Level FileManager::openFailure(ThreadInfo& info, std::uint16_t id, bool report) {
    note(info, id);
    return report ? raiseNoted(info) : kLevelNotify;
}

// At most two attempts: a missing table is created, damaged keys are rebuilt, and a table that
// cannot be written to is opened read-only, each followed by one more attempt.
Level FileManager::physicalOpen(ThreadInfo& info, bool report) {
    TableDriver& driver = driverFor(info);
    for (int attempt = 0; attempt < 2; ++attempt) {
        DriverCode code = driver.open(accessFromOpenMode(settings_.openMode));
        if (code == DriverCode::AccessDenied) {
            driver.send("Recover=" + std::to_string(settings_.lockRecover));
            code = driver.open(accessFromOpenMode(settings_.openMode));
        }
        switch (code) {
            case DriverCode::Ok:
            case DriverCode::AlreadyOpen:
                info.used = true;
                info.atEof = false;
                info.autoIncDone = false;
                for (const std::string& command : info.commands) driver.send(command);
                return kLevelBenign;
            case DriverCode::FileNotFound:
                if (!settings_.create) return openFailure(info, message::FileAccessError, true);
                if (driver.create() != DriverCode::Ok)
                    return openFailure(info, message::FileCreationError, true);
                continue;
            case DriverCode::KeyInvalid:
                if (!report) return openFailure(info, message::InvalidKey, false);
                openFailure(info, message::InvalidKey, true);
                if (driver.rebuildKeys() != DriverCode::Ok)
                    return openFailure(info, message::KeyWasNotBuilt, true);
                continue;
            case DriverCode::AccessDenied:
                if (accessFromOpenMode(settings_.openMode) == AccessMode::ReadOnly)
                    return openFailure(info, message::FileAccessError, true);
                settings_.openMode &= ~0x0Fu;
                openFailure(info, message::AccessDenied, true);
                continue;
            default:
                break;
        }
        break;
    }
    return openFailure(info, message::FileAccessError, report);
}

}  // namespace dv
