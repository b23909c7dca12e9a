#pragma once

#include <vector>

#include "storage/FileManager.h"

namespace dv {

class RelationKeeper;

// Holds tables for a piece of work and gives back, however the work ends, what it took: the
// opens it made and the records the buffers held before the work overwrote them. A list that
// calls a printout, or a form that calls a lookup over the same table, then finds its record
// where it left it.
//
//   TableGuard guard;
//   if (guard.open(tableAccess().file("SFENOTE")) != kLevelBenign) return RespCancelled;
//   ...  // the table is closed and its buffer put back when `guard` goes
class TableGuard {
  public:
    // Whether the guard puts a table's buffer back at the end.
    enum class Buffer : bool { Leave, PutBack };

    TableGuard() = default;
    ~TableGuard() { release(); }
    TableGuard(const TableGuard&) = delete;
    TableGuard& operator=(const TableGuard&) = delete;

    // Opens the table for the guard's life; with Buffer::PutBack its buffer is kept once the open
    // succeeded. Returns the open's level result; a table that did not open is not closed.
    [[nodiscard]] Level open(FileManager& file, Buffer buffer = Buffer::PutBack);
    // Opens a keeper's table and the related tables its rules need; they are closed at the end
    // even when one of them failed to open. Returns the first failure's level result.
    Level open(RelationKeeper& keeper);
    // Keeps the buffer of a table that is held open elsewhere (once: a table kept already keeps
    // its first record).
    void keep(FileManager& file);

    // Puts the kept buffers back (or, with Buffer::Leave, only forgets them) and closes what the
    // guard opened, the latest first. The guard is then empty and can be used again.
    void release(Buffer buffers = Buffer::PutBack);

  private:
    struct Held {
        FileManager* file = nullptr;
        RelationKeeper* keeper = nullptr;
        bool opened = false;
        SnapshotHandle snapshot = 0;
    };

    std::vector<Held> held_;
};

}  // namespace dv
