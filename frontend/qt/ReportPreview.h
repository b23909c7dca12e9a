#pragma once

#include <filesystem>
#include <memory>
#include <string>

#include "data/IniFile.h"
#include "runtime/FrontEnd.h"

class QWidget;

namespace dv {

// The report preview of the desktop: the pages as the printer will print them, one under the
// other, with page navigation and the count "Stran N od M", zoom, printing (the printer dialog
// titled as the request asks) and saving as PDF. The Qt front end answers
// FrontEnd::previewReport with it; the pages are drawn by the one page renderer.
class ReportPreview {
  public:
    // The preview prints on the system's default printer unless `printer` names another.
    explicit ReportPreview(const ReportPreviewRequest& request, QWidget* parent = nullptr);
    ReportPreview(const ReportPreviewRequest& request, const PrinterSettings& printer,
                  QWidget* parent = nullptr);
    ~ReportPreview();
    ReportPreview(const ReportPreview&) = delete;
    ReportPreview& operator=(const ReportPreview&) = delete;

    // Shows the preview until the user closes it: RespCompleted when the report was printed or
    // saved meanwhile, else RespCancelled, with the zoom and copies the user left.
    ReportPreviewResult exec();

    int pageCount() const;
    // The page in view, from 1, and bringing another one into view (kept within the pages).
    int currentPage() const;
    void showPage(int page);
    // "Stran 2 od 5", as the toolbar shows it.
    std::string pagePositionText() const;

    // Percent; 0 fits a whole page into the window.
    int zoom() const;
    void setZoom(int percent);
    // One step larger or smaller, from the size shown (also when the page is fitted).
    void zoomIn();
    void zoomOut();

    // The folder the save-as-PDF dialog starts in; afterwards the folder last saved to.
    void setPdfFolder(const std::filesystem::path& folder);
    std::filesystem::path pdfFolder() const;

    // What the print and save buttons do, without their dialogs.
    FileResult saveAsPdf(const std::filesystem::path& file);
    FileResult printTo(const PrinterSettings& printer);

    // The printer as the preview's print dialog left it, and whether the user chose one there.
    PrinterSettings printer() const;
    bool printerChosen() const;

    ReportPreviewResult result() const;

    // The preview's window (its toolbar actions are named "print", "savePdf", "firstPage",
    // "previousPage", "nextPage", "lastPage", "zoomIn", "zoomOut", "fitPage" and "close").
    QWidget* window() const;

  private:
    struct Parts;
    std::unique_ptr<Parts> parts_;

    void buildToolBar();
    void updatePagePosition();
    void printWithDialog();
    void saveWithDialog();
};

}  // namespace dv
