#include "framework/ReportProcedure.h"

#include <algorithm>
#include <stdexcept>

namespace dv {

ReportProcedure::ReportProcedure(std::string procedure, std::string optionsName,
                                 const ReportLayout& layout, const NameResolver& names,
                                 ErrorReporter* reporter, SettingsManager* settings)
    : procedure_(std::move(procedure)),
      optionsName_(std::move(optionsName)),
      reporter_(reporter),
      settingsFile_(settings),
      engine_(layout, names) {}

ReportProcedure::~ReportProcedure() = default;

void ReportProcedure::SetUp(Window& progressWindow, RecordSource& view, ProcessSlicer::Clock clock,
                            std::string_view cancelControl) {
    if (reporter_ != nullptr) name_.emplace(*reporter_, procedure_);
    window_ = std::make_unique<ProcessWindow>(progressWindow, process_, std::move(clock));
    process_.SetUp(view, window_.get());
    if (progressWindow.find(cancelControl) != nullptr)
        window_->AddEndButton(cancelControl, RespCancelled);
    window_->attachReport(engine_, pages_);
    savedPrinter_ = currentFrontEnd().printer();
    settings_ = reportPreviewSettings(procedure_, engine_.layout().options, savedPrinter_);
    if (settingsFile_ != nullptr) loadReportOptions(*settingsFile_, optionsName_, settings_);
}

Response ReportProcedure::Run() {
    if (!window_) throw std::logic_error("the report " + procedure_ + " runs before its set-up");
    Response response = RespCancelled;
    try {
        response = complete(window_->Run());
    } catch (...) {
        pages_.clear();
        engine_.Detach();
        tearDown();
        throw;
    }
    tearDown();
    CallerResponse = response;
    return response;
}

Response ReportProcedure::complete(Response passResponse) {
    const bool completed = passResponse == RespCompleted || window_->foundNoRecords();
    if (completed && engine_.isOpen()) {
        if (endOfReport_) endOfReport_();
        engine_.Close();
    }
    Response response = RespCancelled;
    if (completed && !pages_.empty())
        response = preview();
    else if (completed)
        empty_ = true;
    else
        cancelled_ = !pages_.empty();
    pages_.clear();
    engine_.Detach();
    return response;
}

Response ReportProcedure::preview() {
    FrontEnd& frontEnd = currentFrontEnd();
    const PrinterSettings printer = frontEnd.printer();
    settings_.copies = static_cast<std::uint16_t>(std::max<int>(settings_.copies, printer.copies));
    if (!settings_.printer.empty() && settings_.printer != printer.device)
        frontEnd.setPrinter({settings_.printer, printer.copies});
    pages_.renumber(settings_.pageNumberControl, settings_.connector);

    ReportPreviewRequest request;
    request.pages = &pages_;
    request.reportName = optionsName_;
    request.printerDialogTitle = settings_.dialogTitle;
    request.copies = settings_.copies;
    request.zoom = settings_.zoom;
    const ReportPreviewResult result = frontEnd.previewReport(request);
    settings_.copies = static_cast<std::uint16_t>(std::clamp(result.copies, 1, 9999));
    settings_.zoom = result.zoom;
    const std::string device = frontEnd.printer().device;
    if (device != savedPrinter_.device) settings_.printer = device;
    keepOptions();
    return result.response == RespCompleted ? RespCompleted : RespCancelled;
}

void ReportProcedure::keepOptions() {
    if (settingsFile_ == nullptr) return;
    if (FileResult kept = saveReportOptions(*settingsFile_, optionsName_, settings_); !kept.ok())
        notice("|The report's options could not be kept.||" + kept.error + "|");
}

void ReportProcedure::tearDown() {
    if (empty_) notice(kReportEmptyText);
    if (cancelled_) notice(kReportCancelledText);
    if (currentFrontEnd().printer() != savedPrinter_) currentFrontEnd().setPrinter(savedPrinter_);
    name_.reset();
}

void ReportProcedure::notice(std::string_view text) const {
    MessageBoxRequest box;
    box.caption = kReportNoticeCaption;
    box.text = text;
    box.icon = MessageIcon::Exclamation;
    currentFrontEnd().messageBox(box);
}

}  // namespace dv
