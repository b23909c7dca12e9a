#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "storage/DelimitedText.h"
#include "storage/TableDriver.h"

namespace dv {

// A table kept as a text file of one record per line, fields separated by the separator of its
// options and optionally in double quotes (the capture file of a barcode terminal). It has no
// keys: records are read in file order, and a record's position is the byte offset of its line.
// Empty lines are no records.
//
// The file may be UTF-8 or code page 1250: a file that is valid UTF-8 is read as UTF-8, any
// other as code page 1250; records are written back in the file's encoding (UTF-8 for a new or
// empty file), lines end as the file's first line does (CR LF for a new file).
//
// add appends a line; put and remove write the whole file anew to a temporary file that then
// replaces it, so the file is never left half written. Before put and remove the file is read
// again: when the record's line is no longer what was read, another program changed it
// (ChangedByOther). The file is read afresh whenever reading starts (set, reset, records).
class TextFileTable final : public TableDriver {
  public:
    TextFileTable(const TableDef& table, std::filesystem::path file, TextFileOptions options);

    DriverCode open(AccessMode mode) override;
    DriverCode create() override;
    void close() override;
    bool isOpen() const override { return open_; }
    bool isReadOnly() const override { return readOnly_; }
    DriverCode rebuildKeys() override { return succeed(); }

    DriverCode get(int key) override;
    DriverCode reget(const DriverPosition& position) override;
    DriverPosition position() const override;
    DriverCode setToStart(int key) override;
    DriverCode setToEnd(int key) override;
    DriverCode set(int key) override;
    DriverCode reset(const DriverPosition& position) override;
    DriverCode next() override;
    DriverCode previous() override;

    DriverCode add() override;
    DriverCode put() override;
    DriverCode remove() override;
    bool isDuplicate(int, bool) override { return false; }

    std::int64_t records() override;
    std::int64_t bytes() override;
    std::int64_t bytesRead() override;
    std::string send(std::string_view command) override;
    DriverCode stream() override { return succeed(); }
    DriverCode flush() override { return succeed(); }
    DriverCode beginTransaction() override { return noTransactions(); }
    DriverCode commit() override { return noTransactions(); }
    DriverCode rollback() override { return noTransactions(); }

  private:
    struct Line {
        std::size_t offset;
        std::size_t length;  // without the line end
    };

    DriverCode check(bool write);
    DriverCode noTransactions();
    DriverCode ioFailure(int error, std::string_view action);
    DriverCode load();
    void parse(std::string content);
    DriverCode read(std::size_t index);
    int lineAt(std::size_t offset) const;
    std::string_view text(const Line& line) const;
    DriverCode findCurrent(std::string_view action, std::size_t& index);
    DriverCode rewrite(const std::string& content, std::string_view action);
    std::string encodeRecord() const;
    void decodeRecord(std::string_view line);

    std::filesystem::path file_;
    TextFileOptions options_;
    bool open_ = false;
    bool readOnly_ = false;
    std::string content_;
    std::vector<Line> lines_;
    bool utf8_ = true;
    std::string lineEnd_ = "\r\n";
    // next reads lines_[next_], previous reads lines_[previous_].
    std::int64_t next_ = 0;
    std::int64_t previous_ = -1;
    bool hasCurrent_ = false;
    std::size_t currentOffset_ = 0;
    std::string currentText_;
};

}  // namespace dv
