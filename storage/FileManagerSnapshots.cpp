#include <cstring>
#include <stdexcept>

#include "storage/FileManager.h"
#include "storage/FileManagerState.h"

namespace dv {

// Called with the mutex held.
SnapshotHandle FileManager::newHandle() const {
    for (int tries = 0; tries <= 0xFFFF; ++tries) {
        ++lastHandle_;
        if (lastHandle_ != 0 && !buffers_.contains(lastHandle_) && !saved_.contains(lastHandle_))
            return lastHandle_;
    }
    throw std::length_error("every snapshot handle of " + std::string(table_.name) + " is in use");
}

SnapshotHandle FileManager::SnapshotBuffer() {
    const auto* record = static_cast<const unsigned char*>(buffer());
    std::lock_guard lock(mutex_);
    const SnapshotHandle handle = newHandle();
    buffers_[handle].assign(record, record + table_.recordStructSize);
    return handle;
}

void FileManager::RestoreSnapshot(SnapshotHandle handle, bool restore) {
    std::lock_guard lock(mutex_);
    const auto found = buffers_.find(handle);
    if (found == buffers_.end()) return;
    if (restore) std::memcpy(buffer(), found->second.data(), found->second.size());
    buffers_.erase(found);
}

bool FileManager::SnapshotEquals(SnapshotHandle handle) const {
    std::lock_guard lock(mutex_);
    const auto found = buffers_.find(handle);
    return found != buffers_.end() &&
           std::memcmp(buffer(), found->second.data(), found->second.size()) == 0;
}

SnapshotHandle FileManager::SnapshotPosition() {
    ThreadInfo& info = thread();
    auto state = std::make_unique<SavedState>();
    state->buffer = SnapshotBuffer();
    state->autoIncDone = info.autoIncDone;
    state->reserved = info.reserved;
    state->hadPosition = info.used;
    if (info.used) state->position = info.driver->position();
    std::lock_guard lock(mutex_);
    const SnapshotHandle handle = newHandle();
    saved_[handle] = std::move(state);
    return handle;
}

// The saved record is read again so that it is current and reading goes on after it; when it
// is gone, reading is placed where it stood.
void FileManager::RestorePosition(SnapshotHandle handle, bool restore) {
    std::unique_ptr<SavedState> state;
    {
        std::lock_guard lock(mutex_);
        const auto found = saved_.find(handle);
        if (found == saved_.end()) return;
        state = std::move(found->second);
        saved_.erase(found);
    }
    ThreadInfo& info = thread();
    if (restore && state->hadPosition && info.used) {
        TableDriver& driver = *info.driver;
        const DriverPosition& position = state->position;
        if (position.row == 0) {
            driver.setToStart(position.key);
        } else if (driver.reset(position) == DriverCode::Ok) {
            if (driver.next() == DriverCode::Ok && driver.position().row == position.row)
                remember(info);
            else
                driver.reset(position);
        }
    }
    if (restore) {
        info.autoIncDone = state->autoIncDone;
        info.reserved = state->reserved;
    }
    RestoreSnapshot(state->buffer, restore);
}

}  // namespace dv
