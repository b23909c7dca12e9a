#pragma once

#include <filesystem>
#include <memory>

#include "data/IniFile.h"
#include "runtime/FrontEnd.h"

namespace dv {

// The report preview of the desktop: the pages as the printer will print them, with zoom,
// printing (the printer dialog titled as the request asks) and saving as PDF. The Qt front end
// answers FrontEnd::previewReport with it; the pages are drawn by the one page renderer.
class ReportPreview {
  public:
    explicit ReportPreview(const ReportPreviewRequest& request);
    ~ReportPreview();
    ReportPreview(const ReportPreview&) = delete;
    ReportPreview& operator=(const ReportPreview&) = delete;

    // Shows the preview until the user closes it: RespCompleted when the report was printed or
    // saved meanwhile, else RespCancelled, with the zoom and copies the user left.
    ReportPreviewResult exec();

    int pageCount() const;
    // Percent; 0 fits a whole page into the window.
    int zoom() const;
    void setZoom(int percent);
    // What the print and save buttons do, without their dialogs.
    FileResult saveAsPdf(const std::filesystem::path& file);
    FileResult printTo(const PrinterSettings& printer);
    ReportPreviewResult result() const;

  private:
    struct Parts;
    std::unique_ptr<Parts> parts_;
};

}  // namespace dv
