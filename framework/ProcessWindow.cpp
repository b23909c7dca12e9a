#include "framework/ProcessWindow.h"

#include "framework/ReportEngine.h"
#include "runtime/MessageRaiser.h"
#include "runtime/MessageTable.h"

namespace dv {

// Hundredths of a second between timer events: as often as the window allows, each event doing
// a slice of about the slicer's target time.
constexpr int kTimerInterval = 1;

ProcessWindow::ProcessWindow(Window& window, BatchProcess& process, ProcessSlicer::Clock clock,
                             ProcessWindowControls controls)
    : window_(window),
      process_(process),
      slicer_(std::move(clock)),
      controls_(std::move(controls)) {
    process_.setQuickScanMode(true);
}

void ProcessWindow::AddEndButton(std::string_view control, Response response) {
    endButtons_.emplace_back(window_.control(control).number(), response);
}

void ProcessWindow::attachReport(ReportEngine& report, PageQueue& pages) {
    report_ = &report;
    pages_ = &pages;
}

Response ProcessWindow::Run() {
    window_.setTimer(kTimerInterval);
    while (take(window_.nextEvent()) == Outcome::GoOn) {
    }
    window_.setTimer(0);
    return response_;
}

ProcessWindow::Outcome ProcessWindow::take(const Event& event) {
    switch (event.kind) {
        case EventKind::Timer:
            return onTimer();
        case EventKind::CloseWindow:
        case EventKind::CloseDown:
            finish(RespCancelled);
            return Outcome::EndLoop;
        case EventKind::Accepted:
            for (const auto& [control, response] : endButtons_)
                if (control == event.control) {
                    finish(response);
                    return Outcome::EndLoop;
                }
            return Outcome::GoOn;
        default:
            return Outcome::GoOn;
    }
}

ProcessWindow::Outcome ProcessWindow::onTimer() {
    if (finished_) return Outcome::EndLoop;
    if (!started_ && !startPass()) return Outcome::EndLoop;
    if (!slicer_.tick([this] { return step(); })) {
        finish(passResponse_);
        return Outcome::EndLoop;
    }
    return Outcome::GoOn;
}

// The first record is read here so that an empty view is known before the report opens; it is
// then handled as the first step of the first slice.
bool ProcessWindow::startPass() {
    started_ = true;
    if (process_.Restart() != kLevelBenign) {
        finish(RespCancelled);
        return false;
    }
    const ReadResult first = process_.ReadNext();
    if (first != ReadResult::Record) {
        empty_ = first == ReadResult::End;
        if (empty_ && report_ == nullptr) currentMessageRaiser().raise(message::NoRecords);
        finish(RespCancelled);
        return false;
    }
    if (report_ != nullptr) report_->Open(*pages_);
    if (process_.HandleRecord() != kLevelBenign) {
        finish(RespCompleted);
        return false;
    }
    return true;
}

bool ProcessWindow::step() {
    switch (process_.ReadNext()) {
        case ReadResult::Record:
            if (process_.HandleRecord() == kLevelBenign) return true;
            passResponse_ = RespCompleted;
            return false;
        case ReadResult::End:
            passResponse_ = RespCompleted;
            return false;
        case ReadResult::Failed:
            break;
    }
    passResponse_ = RespCancelled;
    return false;
}

void ProcessWindow::finish(Response response) {
    if (!finished_) process_.EndPass();
    finished_ = true;
    response_ = response;
}

void ProcessWindow::showProgress(int percent, const std::string& text) {
    if (Control* progress = window_.find(controls_.progress))
        progress->setValue(std::to_string(percent));
    if (Control* label = window_.find(controls_.progressText)) label->setText(text);
}

}  // namespace dv
