#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "framework/BatchKeyProgress.h"
#include "framework/BatchRecordSource.h"
#include "runtime/MessageRaiser.h"

namespace dv {

// The progress text before the first record of a pass.
inline constexpr std::string_view kProgressStartText = "0% Completed";
// The progress text after a record: the number followed by "% Complete" ("42% Complete").
std::string progressText(int percent);

// Where a pass shows its progress: the progress control and the progress text of its window.
class ProgressDisplay {
  public:
    virtual ~ProgressDisplay() = default;
    virtual void showProgress(int percent, const std::string& text) = 0;
};

// A pass over the records of a view, record by record: the work of every batch and report.
// The caller (normally the process window, which runs it in slices between timer events)
// restarts it, then reads and handles records until reading ends or the per-record work stops
// the pass, and ends the pass.
//
// Progress, after each record read, in this order of preference: the key value's position
// between the first and last key values (when asked for and the view has a key), the bytes
// read against the view's size (when the records cannot be counted), or the records done
// against the records to do; never above 100.
//
// Nested passes: a child process pushed while a record is handled is read (and its records
// handled by its own work) from the next read on, until its view ends; then reading goes on
// with the parent.
class BatchProcess {
  public:
    // The per-record work: 0 goes on, anything else ends the pass.
    using RecordHandler = std::function<Level()>;

    BatchProcess() = default;
    BatchProcess(const BatchProcess&) = delete;
    BatchProcess& operator=(const BatchProcess&) = delete;
    ~BatchProcess();

    // The view, where progress is shown (may be null), the records to do (0: counted at each
    // Restart) and the percentage variable (may be null).
    void SetUp(RecordSource& view, ProgressDisplay* progress = nullptr,
               std::int64_t recordsToDo = 0, int* percentVariable = nullptr);
    void setRecordHandler(RecordHandler handler) { handler_ = std::move(handler); }
    // Progress by key value, from the view's key range at each Restart.
    void setKeyProgress(bool on) { keyProgress_ = on; }
    // Fast sequential reading for the pass ("QUICKSCAN=on" to the driver).
    void setQuickScanMode(bool on) { quickScan_ = on; }

    // Goes back to the first record and counts the work; shows "0% Completed". 0, or the level
    // result of a failure (reported).
    [[nodiscard]] Level Restart();
    // Reads the next record (of the innermost child pass while there is one) and updates the
    // progress.
    ReadResult ReadNext();
    // The work for the record read last, by the process that read it: 0 goes on, anything else
    // ends the pass.
    Level HandleRecord();
    // Ends the pass and any child passes still running.
    void EndPass();
    // Starts a nested pass (the child has been set up); its records come next. 0, or the level
    // result of its failed Restart (the child is then not pushed).
    Level PushChild(BatchProcess& child);

    std::int64_t TotalToDo() const { return totalToDo_; }
    std::int64_t DoneCount() const { return doneCount_; }
    bool byteMode() const { return byteMode_; }
    std::int64_t bytesTotal() const { return bytesTotal_; }
    // The percentage shown last.
    int percent() const { return shown_; }
    bool hasChildren() const { return !children_.empty(); }
    RecordSource* view() const { return view_; }

  private:
    ReadResult readOwn();
    int computePercent();
    void show(int percent, const std::string& text);

    RecordSource* view_ = nullptr;
    ProgressDisplay* display_ = nullptr;
    int* percentVariable_ = nullptr;
    RecordHandler handler_;
    std::int64_t givenToDo_ = 0;
    std::int64_t totalToDo_ = 0;
    std::int64_t doneCount_ = 0;
    std::int64_t bytesTotal_ = 0;
    bool byteMode_ = false;
    bool keyProgress_ = false;
    bool quickScan_ = false;
    bool scanning_ = false;
    std::unique_ptr<KeyProgressEstimator> estimator_;
    int shown_ = 0;
    std::vector<BatchProcess*> children_;
    BatchProcess* active_ = this;
};

}  // namespace dv
