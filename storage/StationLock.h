#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "storage/DriverCode.h"

namespace dv {

class SqlConnection;

// What a station does while it holds a lock, as the other stations are told.
enum class StationWork : char {
    Count = 'V',          // saves a count typed into the form
    Import = 'U',         // imports a capture file of the terminal
    Template = 'P',       // prepares the template
    Repreparation = 'R',  // prepares the template again
    Posting = 'K',        // posts the differences
};

// The Slovenian words for the work ("uvaža zajem s terminala"), as a sentence goes on after the
// station's name.
std::string stationWorkWords(StationWork work);

// A lock as the server knows it: a kind (what is locked) and the thing of that kind.
struct LockName {
    std::uint8_t kind = 0;
    std::uint64_t id = 0;  // the lower 40 bits count
};

// The kinds of lock the program takes.
inline constexpr std::uint8_t kStocktakeLock = 1;  // one stocktake: its template and counts
inline constexpr std::uint8_t kImportLock = 2;     // the import of capture files (one at a time)
inline constexpr std::uint8_t kNumberingLock = 3;  // numbers given from the highest stored one

// A station that holds a lock: its name and what it does.
struct LockHolder {
    std::string station;
    StationWork work = StationWork::Count;
    bool exclusive = false;
};

enum class LockOutcome : std::uint8_t { Taken, Busy, Failed };

// The lock `name` of several stations on one database, held by the object while it lives (also
// across the commit of a transaction, which it must outlive). On the embedded database there is
// one station, and every lock is taken at once. Shared holders keep out an exclusive one and the
// other way round; a station that has a lock and asks for it again has it once more.
class StationLock {
  public:
    StationLock() = default;
    ~StationLock() { release(); }
    StationLock(StationLock&& other) noexcept;
    StationLock& operator=(StationLock&& other) noexcept;
    StationLock(const StationLock&) = delete;
    StationLock& operator=(const StationLock&) = delete;

    // One attempt; Busy with the holders when other stations hold it so that it cannot be had.
    LockOutcome tryTake(SqlConnection& db, LockName name, bool shared, StationWork work);
    void release();

    bool held() const { return db_ != nullptr; }
    const std::vector<LockHolder>& holders() const { return holders_; }
    // Why the attempt failed (Failed).
    const DriverError& error() const { return error_; }

  private:
    SqlConnection* db_ = nullptr;
    LockName name_;
    bool shared_ = false;
    std::vector<LockHolder> holders_;
    DriverError error_;
};

// The lock over the numbering of `table` up to the end of the transaction that runs (one
// attempt), so that two stations numbering from the highest stored number one after the other
// never take the same number: the second takes it once the first committed or rolled back.
// Taken at once on the embedded database, whose write transactions keep out each other.
LockOutcome tryNumberingUntilCommit(SqlConnection& db, const std::string& table, StationWork work,
                                    std::vector<LockHolder>& holders, DriverError& error);

// A stable number for a name (FNV-1a), for the ids of locks.
std::uint64_t lockIdOf(const std::string& name);

}  // namespace dv
