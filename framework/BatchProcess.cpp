#include "framework/BatchProcess.h"

#include <algorithm>
#include <stdexcept>

#include "runtime/MessageRaiser.h"

namespace dv {

std::string progressText(int percent) {
    return std::to_string(percent) + "% Complete";
}

BatchProcess::~BatchProcess() {
    if (scanning_ && view_ != nullptr) view_->setQuickScan(false);
}

void BatchProcess::SetUp(RecordSource& view, ProgressDisplay* progress, std::int64_t recordsToDo,
                         int* percentVariable) {
    view_ = &view;
    display_ = progress;
    givenToDo_ = std::max<std::int64_t>(recordsToDo, 0);
    percentVariable_ = percentVariable;
}

Level BatchProcess::Restart() {
    if (view_ == nullptr) throw std::logic_error("a batch process restarted before its set-up");
    children_.clear();
    active_ = this;
    if (quickScan_ && !scanning_) {
        view_->setQuickScan(true);
        scanning_ = true;
    }
    if (const Level failed = view_->restart(); failed != kLevelBenign) return failed;
    doneCount_ = 0;
    totalToDo_ = givenToDo_ ? givenToDo_ : view_->records();
    byteMode_ = totalToDo_ == 0;
    bytesTotal_ = byteMode_ ? view_->bytes() : 0;
    estimator_.reset();
    if (keyProgress_)
        if (auto range = view_->keyRange())
            estimator_ = std::make_unique<KeyProgressEstimator>(std::move(*range));
    show(0, std::string(kProgressStartText));
    return kLevelBenign;
}

ReadResult BatchProcess::ReadNext() {
    while (!children_.empty()) {
        BatchProcess& child = *children_.back();
        const ReadResult result = child.ReadNext();
        if (result == ReadResult::Record) {
            active_ = child.active_;
            return result;
        }
        child.EndPass();
        children_.pop_back();
        if (result == ReadResult::Failed) return result;
    }
    active_ = this;
    return readOwn();
}

ReadResult BatchProcess::readOwn() {
    const ReadResult result = view_->next();
    if (result != ReadResult::Record) return result;
    ++doneCount_;
    const int percent = std::clamp(computePercent(), 0, 100);
    if (percent != shown_) show(percent, progressText(percent));
    return result;
}

int BatchProcess::computePercent() {
    if (estimator_)
        if (const auto key = view_->currentKeyValue())
            if (const auto percent = estimator_->percent(*key)) return *percent;
    if (byteMode_)
        return bytesTotal_ > 0 ? static_cast<int>(view_->bytesRead() * 100 / bytesTotal_) : 0;
    return totalToDo_ > 0 ? static_cast<int>(doneCount_ * 100 / totalToDo_) : 0;
}

void BatchProcess::show(int percent, const std::string& text) {
    shown_ = percent;
    if (percentVariable_ != nullptr) *percentVariable_ = percent;
    if (display_ != nullptr) display_->showProgress(percent, text);
}

Level BatchProcess::HandleRecord() {
    BatchProcess& reader = *active_;
    return reader.handler_ ? reader.handler_() : kLevelBenign;
}

void BatchProcess::EndPass() {
    while (!children_.empty()) {
        children_.back()->EndPass();
        children_.pop_back();
    }
    active_ = this;
    if (scanning_) {
        view_->setQuickScan(false);
        scanning_ = false;
    }
}

Level BatchProcess::PushChild(BatchProcess& child) {
    if (&child == this) throw std::logic_error("a batch process cannot be its own child");
    BatchProcess& parent = children_.empty() ? *this : *children_.back();
    if (&parent != this) return parent.PushChild(child);
    if (const Level failed = child.Restart(); failed != kLevelBenign) return failed;
    children_.push_back(&child);
    return kLevelBenign;
}

}  // namespace dv
