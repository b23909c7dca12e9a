#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "data/TableDef.h"
#include "runtime/ErrorState.h"
#include "runtime/MessageRaiser.h"
#include "storage/TableDriver.h"

namespace dv {

class RelationKeeper;

// Makes the driver of `table` kept in the file `fileName` (a path in the host's form).
using DriverFactory =
    std::function<std::unique_ptr<TableDriver>(const TableDef& table, const std::string& fileName)>;

// The runtime's open mode: read/write, deny none. Its low four bits cleared mean read-only.
inline constexpr unsigned kOpenReadWriteDenyNone = 0x42;

// Handle of a saved copy of the record buffer or of a saved table state; 0 is no handle.
using SnapshotHandle = std::uint16_t;

// How a table is opened (program-wide, shared by all threads).
struct FileManagerSettings {
    unsigned openMode = kOpenReadWriteDenyNone;  // OPENMODE; reduced to read-only after message 2
    bool create = true;                          // CREATE: create a missing table
    bool lazyOpen = true;                        // LAZYOPEN: open physically on first use
    int lockRecover = 10;                        // LOCKRECOVER: sent as "Recover=" before a retry
    bool skipHeldRecords = false;                // SKIPHELDRECORDS: sequential reads skip them
};

// The program's access to one table: opens it on first use and counts nested opens, creates a
// missing table, rebuilds damaged keys, reads by key and in key order, numbers new records,
// notices that another station changed a record, keeps copies of the record buffer, and
// validates fields. Every failure goes through the message raiser by message id: an operation's
// reporting form raises the message and returns its level result; the silent form notes the
// message as the thread's last error (RaiseLastError raises it later) and returns a code.
//
// Results: kLevelBenign success; kLevelNotify failure (reported, or to be reported by the
// caller); kLevelFatal the table is not usable; kLevelUser the record is not valid.
//
// The open count, the physical open (each thread has its own driver and so its own position),
// end of file, auto-numbering and the last error are kept per thread; the record buffer is the
// table's program-wide buffer. Fields are numbered from 1 in the order of the table's fields.
class FileManager {
  public:
    FileManager(const TableDef& table, DriverFactory factory, MessageRaiser* errors = nullptr);
    virtual ~FileManager();
    FileManager(const FileManager&) = delete;
    FileManager& operator=(const FileManager&) = delete;

    const TableDef& table() const { return table_; }
    void* buffer() const { return table_.buffer; }
    // FILENAME: the name the table is opened under, quoted as %File.
    std::string fileName() const;
    FileManagerSettings& settings() { return settings_; }
    const FileManagerSettings& settings() const { return settings_; }
    // HASAUTOINC; PRIMARYKEY (index into the table's keys, -1 when there is none).
    bool hasAutoNumber() const { return hasAutoInc_; }
    int primaryKey() const { return primaryKey_; }
    MessageRaiser& errors() const;

    // ---- opening
    Level Open(bool force = false);
    Level OpenSilently(bool force = false);
    Level Close();
    // The use check every read and write runs first: opens the table physically when it was
    // opened lazily; message 39 "File Usage Error" when this thread never opened it. 0 or
    // kLevelFatal.
    Level UseFile();

    // ---- reading
    // Reads the record whose values of `key` stand in the buffer (silent): 0 or kLevelNotify.
    Level Fetch(int key);
    // Fetch, clearing the buffer when no record is found.
    Level FetchOrClear(int key);
    Level Next();
    Level Previous();
    Level NextSilently();
    Level PreviousSilently();

    // ---- writing
    // Clears the buffer (unless `keepBuffer`), gives the fields their defaults and, on a table
    // with an auto-numbered key, numbers the record and adds it at once.
    [[nodiscard]] Level PrepareNew(bool keepBuffer = false);
    [[nodiscard]] Level AutoNumber();
    [[nodiscard]] Level AutoNumberSilently();
    [[nodiscard]] Level Insert();
    [[nodiscard]] Level InsertSilently();
    [[nodiscard]] Level Update();
    [[nodiscard]] Level UpdateSilently();
    // Deletes the current record (silent: message 11 noted on failure).
    [[nodiscard]] Level Remove();
    // Deletes again the record that auto-numbering added for the current new record (through
    // `keeper`, so that its related records go too, else directly).
    Level CancelAutoNumber(RelationKeeper* keeper = nullptr);

    // ---- validation (field numbers from 1)
    Level CheckField(int field);
    Level CheckFieldSilently(int field);
    // Tests one field against its rule: 0, or kLevelNotify after quoting the field's text and
    // raising (or noting) message 14-18 with the rule's text.
    virtual Level CheckFieldRule(int field, bool report);
    // Checks fields first..last; 0, or the result of the first failing field (its number in
    // `failing`).
    Level CheckFields(int first, int last, int& failing, bool report = true);
    // Checks the fields from `firstField` on: 0 or the number of the first failing field.
    int CheckRecord(int firstField = 1, bool report = true);

    // ---- copies of the buffer and of the table state
    SnapshotHandle SnapshotBuffer();
    // Puts the copy back into the buffer (when `restore`) and forgets it.
    void RestoreSnapshot(SnapshotHandle handle, bool restore = true);
    bool SnapshotEquals(SnapshotHandle handle) const;
    // Saves the buffer, this thread's position and its auto-numbering state.
    SnapshotHandle SnapshotPosition();
    // Puts them back (when `restore`): the saved record becomes current again and reading goes
    // on after it; then the saved copy is forgotten.
    void RestorePosition(SnapshotHandle handle, bool restore = true);

    // ---- errors
    // Captures the runtime error state and notes `id` as this thread's last error.
    void NoteError(std::uint16_t id);
    Level RaiseError(std::uint16_t id);
    Level RaiseWithText(std::uint16_t id, std::string_view text);
    // Raises the last noted error with the runtime error state as it was noted.
    Level RaiseLastError();

    // Consulted for every related record a RelationKeeper walks; true skips it.
    virtual bool SkipRecord() { return false; }
    // Gives the fields their defaults on insert (the table's declared defaults).
    virtual void FieldDefaults();

    // ---- this thread's state (INFO)
    int openCount() const;
    bool isPhysicallyOpen() const;
    bool atEndOfFile() const;
    bool autoNumberDone() const;
    std::uint16_t lastErrorId() const;
    // This thread's driver while the table is physically open, else nullptr.
    TableDriver* driver() const;
    // The record as this thread last read or wrote it (the old values of linking fields), or
    // nullptr when there is none.
    const unsigned char* storedRecord() const;
    // To be called after reading through driver() directly.
    void noteRecordRead();
    // Reads the current record again from `position` (its version included) without changing
    // the buffer: after a rolled-back transaction the driver knows the record as stored.
    void rereadKeepingBuffer(const DriverPosition& position);
    // Sends a driver command now and at every later physical open of this thread.
    void sendToDriver(std::string_view command);

  private:
    struct ThreadInfo;
    struct SavedState;

    ThreadInfo& thread() const;
    ThreadInfo* findThread() const;
    Level useCheck(ThreadInfo& info);
    Level openTable(bool force, bool report);
    Level physicalOpen(ThreadInfo& info, bool report);
    Level openFailure(ThreadInfo& info, std::uint16_t id, bool report);
    TableDriver& driverFor(ThreadInfo& info);
    Level sequential(bool forward, bool report);
    Level insert(bool report);
    Level update(bool report);
    Level autoNumber(ThreadInfo& info, bool report);
    Level numberKeys(ThreadInfo& info, bool report, bool& numbered);
    Level numberKey(ThreadInfo& info, int key, bool report, bool& numbered);
    DriverCode putReserved(ThreadInfo& info);
    int firstDuplicateKey(ThreadInfo& info, bool inPlace);
    Level duplicateKey(ThreadInfo& info, bool inPlace, bool report);
    void note(ThreadInfo& info, std::uint16_t id, std::string_view field = {},
              std::string_view text = {}, bool withText = false);
    Level raiseNoted(ThreadInfo& info);
    void remember(ThreadInfo& info);
    SnapshotHandle newHandle() const;

    const TableDef& table_;
    DriverFactory factory_;
    MessageRaiser* errors_;
    FileManagerSettings settings_;
    bool hasAutoInc_ = false;
    int primaryKey_ = -1;

    mutable std::mutex mutex_;  // guards the maps below (threads take turns, so briefly)
    mutable std::map<std::thread::id, std::unique_ptr<ThreadInfo>> threads_;
    std::map<SnapshotHandle, std::vector<unsigned char>> buffers_;
    std::map<SnapshotHandle, std::unique_ptr<SavedState>> saved_;
    mutable SnapshotHandle lastHandle_ = 0;
};

}  // namespace dv
