#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "data/TableDef.h"
#include "storage/DriverCode.h"

namespace dv {

enum class AccessMode : std::uint8_t { ReadWrite, ReadOnly };

// The access a runtime open mode asks for: its low four bits 0 mean read-only (0x40), anything
// else read/write (0x42).
inline AccessMode accessFromOpenMode(unsigned openMode) {
    return (openMode & 0x0Fu) == 0 ? AccessMode::ReadOnly : AccessMode::ReadWrite;
}

// Key orders are numbered as the table's keys; kFileOrder is the order in which the records were
// added (the row order of the database, the line order of a text file).
inline constexpr int kFileOrder = -1;

// A key component value as the driver stores it: integers, decimal units and day numbers as
// integers, texts as UTF-8 without trailing blanks.
using KeyValue = std::variant<std::int64_t, std::string>;

// Where a record stands: its row (row id, or byte offset of a line), enough to read it again, and
// its component values in the order `key`, so that reading can go on from its place even after
// it was deleted. Opaque to callers: they keep it and hand it back.
struct DriverPosition {
    int key = kFileOrder;
    std::int64_t row = 0;  // 0: no record
    std::vector<KeyValue> values;

    friend bool operator==(const DriverPosition&, const DriverPosition&) = default;
};

// Access to one table through its record buffer: the runtime's keyed file as the table layer
// (FileManager) sees it. Every operation returns a DriverCode; a failure leaves its details in
// lastError() and in the runtime's error state (runtime/ErrorState.h). Reads fill the record
// buffer; writes take the record buffer.
//
// Reading in key order: set*/reset choose the order and a place; next reads the record after the
// place, previous the one before it, and the record read becomes the place. A place set from key
// values lies just before the first record with those values for next, and just after the last
// one for previous. Key components marked descending order from high to low; records with equal
// values follow in the order in which they were added. get and reget read one record without
// moving the place of next/previous; put and remove leave it where it was, so a pass over a key
// can change or delete the record it just read and go on.
//
// The current record (for put and remove) is the one most recently read or added. Every read
// watches the record: put or remove after another station changed it gives ChangedByOther.
class TableDriver {
  public:
    TableDriver(const TableDef& table, std::string fileName);
    virtual ~TableDriver() = default;
    TableDriver(const TableDriver&) = delete;
    TableDriver& operator=(const TableDriver&) = delete;

    const TableDef& table() const { return table_; }
    // The name of the table's file, as the user knows it (for messages).
    const std::string& fileName() const { return fileName_; }
    // The record buffer, the table's program-wide buffer unless set otherwise.
    void* record() const { return record_; }
    void setRecord(void* record) { record_ = record; }
    const DriverError& lastError() const { return error_; }

    // Opens the table; FileNotFound when it does not exist, AlreadyOpen when it is open,
    // AccessDenied when write access was asked for and cannot be had.
    virtual DriverCode open(AccessMode mode) = 0;
    // Creates the table when it does not exist; an existing table is left as it is.
    virtual DriverCode create() = 0;
    virtual void close() = 0;
    virtual bool isOpen() const = 0;
    virtual bool isReadOnly() const = 0;
    // Builds the keys again from the records (after KeyInvalid); the table may be closed.
    virtual DriverCode rebuildKeys() = 0;

    // Reads the first record (in key order) whose values of `key` equal those in the buffer.
    virtual DriverCode get(int key) = 0;
    // Reads the record at a saved position again.
    virtual DriverCode reget(const DriverPosition& position) = 0;
    // The position of the current record in the current order (row 0 when there is none).
    virtual DriverPosition position() const = 0;
    virtual DriverCode setToStart(int key) = 0;
    virtual DriverCode setToEnd(int key) = 0;
    // Places reading at the values of `key`'s components in the buffer.
    virtual DriverCode set(int key) = 0;
    // Places reading at a saved position: next and previous both read that record first.
    virtual DriverCode reset(const DriverPosition& position) = 0;
    virtual DriverCode next() = 0;
    virtual DriverCode previous() = 0;
    // Kept for callers that state the intent; every read already watches its record.
    void watch() {}

    virtual DriverCode add() = 0;
    virtual DriverCode put() = 0;
    virtual DriverCode remove() = 0;
    // True when a record has the buffer's values of `key`: any record (before add), or any
    // record but the current one (`excludeCurrent`, before put).
    virtual bool isDuplicate(int key, bool excludeCurrent) = 0;
    // True when a record has the buffer's values of `key`. The buffer stays as it is and no
    // record becomes current: a lookup that needs no field of the record, which an index answers.
    bool contains(int key) { return isDuplicate(key, false); }

    // Number of records, or -1 when the driver cannot tell.
    virtual std::int64_t records() = 0;
    // Size of the table in bytes and the byte position of reading, where cheap (else 0).
    virtual std::int64_t bytes() { return 0; }
    virtual std::int64_t bytesRead() { return 0; }

    // Reads fill only the given fields (numbers from 0 in the table's fields; a group stands for
    // its fields) and those of the table's keys and rules; the buffer's other fields are read as
    // cleared, and a change of the record writes only the fields that changed, so that the stored
    // values of the fields not read stay as they are. Empty: every field, as by default. A driver
    // may read every field all the same.
    virtual void readFields(const std::vector<int>& fields) { (void)fields; }

    // Driver commands: "QUICKSCAN=on"/"QUICKSCAN=off" (read-ahead for long passes),
    // "Recover=n" (accepted). Returns the reply, empty for an unknown command.
    virtual std::string send(std::string_view command) = 0;
    // Buffered writing of a batch (stream) until flush.
    virtual DriverCode stream() = 0;
    virtual DriverCode flush() = 0;
    // Transactions; they nest. NoTransactions from a driver without them.
    virtual DriverCode beginTransaction() = 0;
    virtual DriverCode commit() = 0;
    virtual DriverCode rollback() = 0;

  protected:
    // A driver command "NAME=value", both parts without surrounding blanks.
    struct Command {
        std::string_view name;
        std::string_view value;
    };
    static Command parseCommand(std::string_view command);

    // Record the outcome of an operation here and in the runtime's error state.
    DriverCode succeed();
    DriverCode fail(DriverCode code, std::int32_t nativeCode, std::string text);
    DriverCode fail(const DriverError& error);

  private:
    const TableDef& table_;
    std::string fileName_;
    void* record_;
    DriverError error_;
};

}  // namespace dv
