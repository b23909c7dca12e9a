#pragma once

#include <string>
#include <utility>
#include <vector>

#include "framework/BatchProcess.h"
#include "framework/ProcessSlicer.h"
#include "runtime/ProcedureCall.h"
#include "runtime/Window.h"

namespace dv {

struct PageQueue;
class ReportEngine;

// The names of the process window's controls that the pass updates; a control the window does
// not have is left out.
struct ProcessWindowControls {
    std::string progress = "Progress";          // takes the percentage as its value
    std::string progressText = "ProgressText";  // shows "NN% Complete"
};

// The small window a batch pass or report runs in: its timer drives the pass in slices (see
// ProcessSlicer), so that the window stays responsive, and its end buttons (Cancel) stop it.
//
// The first timer event restarts the process; when the view has no records the pass ends with
// message 22 "No Records" (for a report the report's own "empty" notice follows instead), else
// the report, if one is attached, is opened on its page queue. The pass ends with RespCompleted
// at the end of the view or when the per-record work stops it, with RespCancelled when reading
// fails, an end button with that response is pressed, or the window is closed.
class ProcessWindow : public ProgressDisplay {
  public:
    ProcessWindow(Window& window, BatchProcess& process,
                  ProcessSlicer::Clock clock = ProcessSlicer::steadyClock(),
                  ProcessWindowControls controls = {});
    ProcessWindow(const ProcessWindow&) = delete;
    ProcessWindow& operator=(const ProcessWindow&) = delete;

    Window& window() const { return window_; }
    BatchProcess& process() const { return process_; }
    const ProcessSlicer& slicer() const { return slicer_; }

    // Pressing the control ends the window with that response (Cancel is added with 2).
    void AddEndButton(std::string_view control, Response response);
    // The report the pass prints, opened on `pages` when the pass starts.
    void attachReport(ReportEngine& report, PageQueue& pages);

    // Runs the event loop until the pass has ended or was cancelled; the response.
    Response Run();

    bool started() const { return started_; }
    bool finished() const { return finished_; }
    // The view had no records.
    bool foundNoRecords() const { return empty_; }
    Response response() const { return response_; }

    // The progress control and text.
    void showProgress(int percent, const std::string& text) override;

  private:
    // Results of an event handler: go on, or end the event loop.
    enum class Outcome { GoOn, EndLoop };

    Outcome take(const Event& event);
    Outcome onTimer();
    bool startPass();
    bool step();
    void finish(Response response);

    Window& window_;
    BatchProcess& process_;
    ProcessSlicer slicer_;
    ProcessWindowControls controls_;
    std::vector<std::pair<int, Response>> endButtons_;
    ReportEngine* report_ = nullptr;
    PageQueue* pages_ = nullptr;
    bool started_ = false;
    bool finished_ = false;
    bool empty_ = false;
    Response passResponse_ = RespCompleted;
    Response response_ = RespCancelled;
};

}  // namespace dv
