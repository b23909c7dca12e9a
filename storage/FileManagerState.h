#pragma once

#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "runtime/ErrorState.h"
#include "storage/FileManager.h"

namespace dv {

// What a FileManager keeps per thread (INFO).
struct FileManager::ThreadInfo {
    bool used = false;         // USED: physically open
    int opened = 0;            // OPENED: nesting count of opens
    bool atEof = false;        // ATEOF: the last sequential read hit the end
    bool autoIncDone = false;  // AUTOINCDONE: the new record was added with its number
    DriverPosition reserved;   // where that record stands

    std::uint16_t lastError = 0;  // LASTERROR
    ErrorState lastErrorState;    // the runtime error as it was when noted
    std::string lastErrorField;   // %Field of a validation message
    std::string lastErrorText;    // %Message
    bool lastErrorHasText = false;

    std::unique_ptr<TableDriver> driver;
    std::string driverFile;             // the file name the driver was made for
    std::vector<unsigned char> stored;  // the record as last read or written, empty for none
    std::vector<std::string> commands;  // driver commands sent at every physical open
};

// A saved table state (SAVED).
struct FileManager::SavedState {
    SnapshotHandle buffer = 0;
    bool autoIncDone = false;
    DriverPosition reserved;
    bool hadPosition = false;  // the table was physically open
    DriverPosition position;
};

// A copy of a record buffer that can be put back.
class BufferCopy {
  public:
    BufferCopy(const TableDef& table, const void* record)
        : bytes_(static_cast<const unsigned char*>(record),
                 static_cast<const unsigned char*>(record) + table.recordStructSize) {}
    void restoreInto(void* record) const { std::memcpy(record, bytes_.data(), bytes_.size()); }
    const unsigned char* data() const { return bytes_.data(); }

  private:
    std::vector<unsigned char> bytes_;
};

}  // namespace dv
