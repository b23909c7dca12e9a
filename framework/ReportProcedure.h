#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "data/SettingsManager.h"
#include "framework/BatchProcess.h"
#include "framework/ErrorReporter.h"
#include "framework/ProcessWindow.h"
#include "framework/ReportEngine.h"
#include "framework/ReportPreviewSettings.h"
#include "runtime/PageQueue.h"

namespace dv {

// The notices at the end of a report that printed nothing or was cancelled.
inline constexpr std::string_view kReportNoticeCaption = "Please note...";
inline constexpr std::string_view kReportEmptyText =
    "|Report is empty!||Nothing to print or preview.|";
inline constexpr std::string_view kReportCancelledText = "|Report was canceled!|";

// A report: a batch pass whose per-record work prints bands, in a progress window, followed by
// the preview of the pages. The procedure opens its tables and its progress window, sets the
// report up over its view, gives the per-record work (and the work after the last record, such
// as a closing band), and runs it:
//
//   ReportProcedure report("IzpisSifrantEnote", "IzpisSifrantEnote", layout, names);
//   report.SetUp(window, view);
//   report.onRecord([&] { report.report().Print("Detail"); return kLevelBenign; });
//   report.onEndOfReport([&] { report.report().Print("Zakljucek"); });
//   return report.Run();
//
// When the pass completes with pages, they are numbered ("Stran: 3 od 12"), shown in the
// preview, whose answer becomes the response, and dropped. A report without pages is empty
// ("Report is empty!", RespCancelled); a report cancelled after it had printed pages says so
// ("Report was canceled!"). The printer current when the report started is current again at
// the end, and the preview options are kept under the report's name in the settings file.
class ReportProcedure {
  public:
    // `procedure` names the procedure (for messages and the preview), `optionsName` the section
    // of the settings file that keeps its printer and preview options. `reporter` and
    // `settings` may be null (no procedure name recorded, no options kept).
    ReportProcedure(std::string procedure, std::string optionsName, const ReportLayout& layout,
                    const NameResolver& names, ErrorReporter* reporter = nullptr,
                    SettingsManager* settings = nullptr);
    ~ReportProcedure();
    ReportProcedure(const ReportProcedure&) = delete;
    ReportProcedure& operator=(const ReportProcedure&) = delete;

    // Set-up, in the order every report does it: the procedure's name recorded, the process set
    // up over the view in the progress window, the cancel button added, the report and its page
    // queue attached, the current printer saved and the preview settings filled.
    void SetUp(Window& progressWindow, RecordSource& view,
               ProcessSlicer::Clock clock = ProcessSlicer::steadyClock(),
               std::string_view cancelControl = "Cancel");

    // The per-record work (0 goes on, anything else ends the pass) and the work after the last
    // record, before the last page is closed.
    void onRecord(BatchProcess::RecordHandler handler) {
        process_.setRecordHandler(std::move(handler));
    }
    void onEndOfReport(std::function<void()> work) { endOfReport_ = std::move(work); }

    // Runs the pass, completes the report, shows the notices; the response (also left in
    // CallerResponse).
    Response Run();

    BatchProcess& process() { return process_; }
    ReportEngine& report() { return engine_; }
    ProcessWindow& window() { return *window_; }
    const PageQueue& pages() const { return pages_; }
    const ReportPreviewSettings& previewSettings() const { return settings_; }
    bool reportEmpty() const { return empty_; }
    bool reportCancelled() const { return cancelled_; }

  private:
    Response complete(Response passResponse);
    Response preview();
    void keepOptions();
    void tearDown();
    void notice(std::string_view text) const;

    std::string procedure_;
    std::string optionsName_;
    ErrorReporter* reporter_;
    SettingsManager* settingsFile_;
    BatchProcess process_;
    ReportEngine engine_;
    PageQueue pages_;
    std::unique_ptr<ProcessWindow> window_;
    std::optional<ProcedureNameScope> name_;
    std::function<void()> endOfReport_;
    ReportPreviewSettings settings_;
    PrinterSettings savedPrinter_;
    bool empty_ = false;
    bool cancelled_ = false;
};

}  // namespace dv
