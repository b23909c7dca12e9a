#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <deque>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "StorageTestSupport.h"
#include "runtime/ErrorState.h"
#include "runtime/Halt.h"
#include "runtime/MessageRaiser.h"
#include "schema/Records.h"
#include "storage/TableAccess.h"

namespace dv::test {

// Thrown by the tests' halt handler where a fatal message would end the program.
struct ProgramHalted {
    int exitCode;
    std::string closingMessage;
};

// One raised message with the texts it was raised with.
struct RaisedMessage {
    std::uint16_t id;
    std::string file;
    std::string field;
    std::string text;
    ErrorState error;  // the runtime error it would show
};

// A message raiser that records every message and acts by the built-in levels: questions (3, 8,
// 9, 32-37) take the next scripted answer, fatal messages (10, 23, 26, 39) halt, others notify.
// It installs itself as the current raiser for its lifetime.
class RecordingRaiser : public MessageRaiser {
  public:
    RecordingRaiser() : previous_(setCurrentMessageRaiser(this)) {}
    ~RecordingRaiser() override { setCurrentMessageRaiser(previous_); }
    RecordingRaiser(const RecordingRaiser&) = delete;
    RecordingRaiser& operator=(const RecordingRaiser&) = delete;

    void answer(bool yes) { answers_.push_back(yes); }
    bool answersLeft() const { return !answers_.empty(); }

    void quoteFile(std::string_view text) override { file_ = text; }
    void quoteField(std::string_view text) override { field_ = text; }
    void captureErrorState() override { error_ = lastError(); }
    Level raise(std::uint16_t id) override;
    Level raiseWithText(std::uint16_t id, std::string_view text) override {
        text_ = text;
        return raise(id);
    }

    const std::vector<RaisedMessage>& raised() const { return raised_; }
    std::vector<std::uint16_t> ids() const;
    void clear() { raised_.clear(); }

  private:
    MessageRaiser* previous_;
    std::deque<bool> answers_;
    std::string file_;
    std::string field_;
    std::string text_;
    ErrorState error_;
    std::vector<RaisedMessage> raised_;
};

// The data directory of a company under a fresh temporary directory (so that the company
// tables' "..\" lands in it), every table's file name pointed there, halts turned into
// ProgramHalted, and the table access made on first use.
class TableAccessTest : public ::testing::Test {
  protected:
    TableAccessTest();
    ~TableAccessTest() override;

    TableAccess& access();
    // Ends the table access (its connection closed), e.g. before a fork or to start afresh.
    void closeAccess() { access_.reset(); }
    FileManager& file(std::string_view table) { return access().file(table); }
    RelationKeeper& keeper(std::string_view table);

    const std::filesystem::path& dataDirectory() const { return data_; }
    std::filesystem::path databaseFile() const { return data_ / "dideroviv.db"; }
    // Gives `user` the data directory and everything in it (for tests that run unprivileged).
    void handOver() const;

    DatabaseOptions options() const;
    // How long a connection waits for a database that another one holds locked.
    int busyTimeoutMs = 100;
    // Makes the connection of the table access when set (a server's); else the embedded one.
    std::function<std::unique_ptr<SqlConnection>()> makeConnection;

    TempDirectory root;
    RecordingRaiser raiser;

  private:
    std::filesystem::path data_;
    std::unique_ptr<TableAccess> access_;
    HaltHandler previousHalt_;
};

// ---- records of the stock documents

struct DocumentKey {
    const char* kind = "M";  // VRSTAPRODAJE
    int unit = 1;            // ENOTA
    const char* mark = "P";  // OZNAKADOKUMENTA
    int type = 10;           // VRSTAPROMETA
};

// A new document numbered by the table, added; returns its number (0 on failure).
int addDocument(FileManager& documents, const DocumentKey& key = {});
// A new line of a document numbered by the table, added; returns its line number (0 on failure).
int addLine(FileManager& lines, const DocumentKey& key, int document, std::string_view ean = "1");
// Line numbers of a document, in key order.
std::vector<int> lineNumbers(FileManager& lines, const DocumentKey& key, int document);
// Number of records of a table, read through its manager in file order.
int countRecords(FileManager& file);

// An item group and an item in it.
void addGroup(FileManager& groups, int code, std::string_view name);
void addItem(FileManager& items, std::string_view ean, int group, int subgroup = 0);

// ---- processes

// `work` running in a child process (forked from the calling thread; the parent's database
// connections must be closed). A child still running at destruction is killed.
class ChildProcess {
  public:
    explicit ChildProcess(const std::function<int()>& work);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // Waits for the end: what `work` returned (0-125), 125 when it threw, 128 + signal when it
    // was killed.
    int wait();
    void kill();

  private:
    int pid_;
    int status_ = -1;
};

// A one-byte signal between processes.
class ProcessSignal {
  public:
    ProcessSignal();
    ~ProcessSignal();
    ProcessSignal(const ProcessSignal&) = delete;
    ProcessSignal& operator=(const ProcessSignal&) = delete;
    void send(char value = 'y');
    // The signal sent, or 0 when the other side closed without sending.
    char wait();

  private:
    int ends_[2];
};

// While it lives, the SQLite default file system fails every write to a write-ahead log with
// "disk full" once armed: the moment of a commit that runs out of disk space. Made before the
// connections that should see it.
class FullDisk {
  public:
    FullDisk();
    ~FullDisk();
    FullDisk(const FullDisk&) = delete;
    FullDisk& operator=(const FullDisk&) = delete;
    void arm(bool on);
};

}  // namespace dv::test
