#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/ErrorState.h"
#include "runtime/MessageRaiser.h"
#include "storage/FileManager.h"
#include "storage/TableAccess.h"
#include "storage/TableGuard.h"

namespace dv {

// Stops the demo company; the text tells the user why, in Slovenian.
class DemoFailure : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Takes the messages that table access raises while the demo works, so that a failure ends the
// demo with its own explanation instead of a message box, and nothing halts the program.
class DemoMessages : public MessageRaiser {
  public:
    void quoteFile(std::string_view text) override { file_ = text; }
    void quoteField(std::string_view) override {}
    void captureErrorState() override {
        if (!raised_) error_ = lastError();
    }
    Level raise(std::uint16_t) override;
    Level raiseWithText(std::uint16_t id, std::string_view) override { return raise(id); }

    // Whether a message came since the last clear.
    bool raised() const { return raised_; }
    // The file of the first message since the last clear and the runtime error behind it.
    std::string describe() const;
    void clear();

  private:
    bool raised_ = false;
    std::string file_;
    std::string raisedFile_;
    ErrorState error_;
};

// Rows the demo added to one table.
struct DemoTableCount {
    std::string table;
    int rows = 0;
};

// The tables the demo fills. Opening a table only attaches its database (which cannot be done
// inside a transaction); the table itself is opened, and made when missing, at its first use,
// inside the transaction, so that a failure leaves not even an empty table behind. Each record
// is checked against the dictionary's field rules before it is added, and the rows added are
// counted per table, in the order in which the tables were opened. Every failure throws
// DemoFailure.
class DemoTables {
  public:
    DemoTables(TableAccess& access, DemoMessages& messages);
    ~DemoTables();
    DemoTables(const DemoTables&) = delete;
    DemoTables& operator=(const DemoTables&) = delete;

    FileManager& open(std::string_view table);
    // Adds the record standing in the table's buffer.
    void add(FileManager& file);
    // Whether a record has the values of `key` that stand in the buffer (the buffer then holds
    // it).
    bool exists(FileManager& file, std::string_view key);

    std::vector<DemoTableCount> counts() const;

    // For the large tables: their keys are dropped before the rows are added and built again
    // from all of them after (keysOn throws when two rows have the same unique key).
    void keysOff(FileManager& file);
    void keysOn(FileManager& file);

  private:
    struct Opened {
        FileManager* file;
        int rows;
        bool used;
    };
    void attachDatabase(const FileManager& file);
    Opened& use(FileManager& file);
    void switchKeys(FileManager& file, bool on);

    TableAccess& access_;
    DemoMessages& messages_;
    std::vector<Opened> opened_;
    TableGuard guard_;  // closes what the demo opened
};

}  // namespace dv
