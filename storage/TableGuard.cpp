#include "storage/TableGuard.h"

#include "storage/RelationKeeper.h"

namespace dv {

Level TableGuard::open(FileManager& file, Buffer buffer) {
    const Level opened = file.Open();
    if (opened != kLevelBenign) return opened;
    Held held;
    held.file = &file;
    held.opened = true;
    if (buffer == Buffer::PutBack) held.snapshot = file.SnapshotBuffer();
    held_.push_back(held);
    return opened;
}

Level TableGuard::open(RelationKeeper& keeper) {
    Held held;
    held.keeper = &keeper;
    held.opened = true;
    held_.push_back(held);
    return keeper.OpenAll();
}

void TableGuard::keep(FileManager& file) {
    for (const Held& held : held_)
        if (held.file == &file && held.snapshot != 0) return;
    Held held;
    held.file = &file;
    held.snapshot = file.SnapshotBuffer();
    held_.push_back(held);
}

void TableGuard::release(Buffer buffers) {
    while (!held_.empty()) {
        const Held held = held_.back();
        held_.pop_back();
        if (held.snapshot != 0)
            held.file->RestoreSnapshot(held.snapshot, buffers == Buffer::PutBack);
        if (!held.opened) continue;
        if (held.keeper != nullptr)
            held.keeper->CloseAll();
        else
            held.file->Close();
    }
}

}  // namespace dv
