#include "frontend/qt/ReportPreview.h"

#include <QAction>
#include <QDialog>
#include <QDir>
#include <QKeySequence>
#include <QLabel>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPrinterInfo>
#include <QStandardPaths>
#include <QToolBar>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "frontend/qt/DialogAnswerHook.h"
#include "frontend/qt/pdf/PageExport.h"
#include "frontend/qt/PagePrinting.h"
#include "frontend/qt/pdf/QtApplication.h"
#include "frontend/qt/QtDialogs.h"
#include "runtime/ProcedureCall.h"

namespace dv {
namespace {

constexpr int kMaxZoom = 800;
constexpr int kMinStepZoom = 10;  // zooming out stops here; 0 is "fit", not a size
constexpr double kZoomStep = 1.25;

// The folder the last PDF of this run was saved in; where the next save starts.
std::filesystem::path& lastPdfFolder() {
    static std::filesystem::path folder;
    return folder;
}

std::filesystem::path defaultPdfFolder() {
    std::error_code error;
    if (!lastPdfFolder().empty() && std::filesystem::is_directory(lastPdfFolder(), error))
        return lastPdfFolder();
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (!documents.isEmpty() && QDir(documents).exists()) return documents.toStdString();
    return QDir::homePath().toStdString();
}

// The report's title as a file name: characters that no file name may hold become "_".
std::string pdfFileName(const std::string& title) {
    std::string name = title;
    for (char& c : name)
        if (c == '/' || c == '\\' || c == ':' || c == '*' || c == '?' || c == '"' || c == '<' ||
            c == '>' || c == '|' || static_cast<unsigned char>(c) < 32)
            c = '_';
    const auto first = name.find_first_not_of(" ._");
    if (first == std::string::npos) return "izpis.pdf";
    return name.substr(first) + ".pdf";
}

// The size shown: the zoom set, or for a fitted page what fitting it came to.
int shownZoom(const QPrintPreviewWidget& view, int zoom) {
    if (zoom != 0) return zoom;
    return std::max(kMinStepZoom, static_cast<int>(std::lround(view.zoomFactor() * 100)));
}

void warn(QWidget* parent, const std::string& text) {
    showMessageBox({" OPOZORILO", text, MessageIcon::Exclamation, kButtonOk, kButtonOk}, parent);
}

}  // namespace

struct ReportPreview::Parts {
    const PageQueue& pages;
    ReportPreviewRequest request;
    QPrinter printer{QPrinter::HighResolution};
    QDialog dialog;
    QPrintPreviewWidget* view = nullptr;
    QToolBar* bar = nullptr;
    QLabel* position = nullptr;
    int zoom = 0;
    bool done = false;           // printed or saved
    bool printerChosen = false;  // the user accepted the print dialog
    std::filesystem::path pdfFolder = defaultPdfFolder();

    Parts(const ReportPreviewRequest& r, QWidget* parent)
        : pages(*r.pages), request(r), dialog(parent) {}

    QAction* action(const char* name) const { return bar->findChild<QAction*>(name); }
};

ReportPreview::ReportPreview(const ReportPreviewRequest& request, QWidget* parent)
    : ReportPreview(request, PrinterSettings{}, parent) {}

ReportPreview::ReportPreview(const ReportPreviewRequest& request, const PrinterSettings& printer,
                             QWidget* parent) {
    ensureQtApplication();
    parts_ = std::make_unique<Parts>(request, parent);
    Parts& p = *parts_;
    // The printer first: choosing a printer may reset the sheet that the pages then set.
    applyPrinterSettings(p.printer, printer);
    preparePrinter(p.printer, p.pages);
    p.printer.setCopyCount(std::max(1, request.copies));
    p.dialog.setWindowTitle(windowTitleText(p.pages.title));
    p.dialog.setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowMaximizeButtonHint |
                            Qt::WindowCloseButtonHint);
    p.view = new QPrintPreviewWidget(&p.printer, &p.dialog);
    QObject::connect(p.view, &QPrintPreviewWidget::paintRequested,
                     [&p](QPrinter* target) { printPages(*target, p.pages); });
    QObject::connect(p.view, &QPrintPreviewWidget::previewChanged,
                     [this] { updatePagePosition(); });
    buildToolBar();

    auto* layout = new QVBoxLayout(&p.dialog);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(p.bar);
    layout->addWidget(p.view);
    p.dialog.resize(900, 1000);
    p.view->updatePreview();
    setZoom(request.zoom);
    updatePagePosition();
}

ReportPreview::~ReportPreview() = default;

void ReportPreview::buildToolBar() {
    Parts& p = *parts_;
    p.bar = new QToolBar(&p.dialog);
    const auto add = [&p](const char* name, const QString& text, const QKeySequence& key,
                          auto slot) {
        QAction* action = p.bar->addAction(text, slot);
        action->setObjectName(QString::fromLatin1(name));
        if (!key.isEmpty()) action->setShortcut(key);
        return action;
    };
    add("print", QStringLiteral("Natisni..."), QKeySequence::Print, [this] { printWithDialog(); });
    add("savePdf", QStringLiteral("Shrani kot PDF..."), QKeySequence::Save,
        [this] { saveWithDialog(); });
    p.bar->addSeparator();
    add("firstPage", QStringLiteral("Prva"), QKeySequence(Qt::CTRL | Qt::Key_Home),
        [this] { showPage(1); });
    add("previousPage", QStringLiteral("Prejšnja"), QKeySequence(Qt::CTRL | Qt::Key_PageUp),
        [this] { showPage(currentPage() - 1); });
    p.position = new QLabel(&p.dialog);
    p.position->setObjectName(QStringLiteral("pagePosition"));
    p.position->setContentsMargins(8, 0, 8, 0);
    p.bar->addWidget(p.position);
    add("nextPage", QStringLiteral("Naslednja"), QKeySequence(Qt::CTRL | Qt::Key_PageDown),
        [this] { showPage(currentPage() + 1); });
    add("lastPage", QStringLiteral("Zadnja"), QKeySequence(Qt::CTRL | Qt::Key_End),
        [this] { showPage(pageCount()); });
    p.bar->addSeparator();
    add("zoomIn", QStringLiteral("Povečaj"), QKeySequence::ZoomIn, [this] { zoomIn(); });
    add("zoomOut", QStringLiteral("Pomanjšaj"), QKeySequence::ZoomOut, [this] { zoomOut(); });
    add("fitPage", QStringLiteral("Cela stran"), QKeySequence(), [this] { setZoom(0); });
    p.bar->addSeparator();
    add("close", QStringLiteral("Zapri"), QKeySequence(), [&p] { p.dialog.accept(); });
}

void ReportPreview::updatePagePosition() {
    Parts& p = *parts_;
    if (p.position == nullptr) return;  // the toolbar is not built yet
    const int page = currentPage();
    const int count = pageCount();
    p.position->setText(QString::fromStdString(pagePositionText()));
    p.action("firstPage")->setEnabled(page > 1);
    p.action("previousPage")->setEnabled(page > 1);
    p.action("nextPage")->setEnabled(page < count);
    p.action("lastPage")->setEnabled(page < count);
}

ReportPreviewResult ReportPreview::exec() {
    parts_->dialog.exec();
    return result();
}

int ReportPreview::pageCount() const {
    return parts_->view->pageCount();
}

int ReportPreview::currentPage() const {
    return pageCount() == 0 ? 0 : std::clamp(parts_->view->currentPage(), 1, pageCount());
}

void ReportPreview::showPage(int page) {
    if (pageCount() == 0) return;
    parts_->view->setCurrentPage(std::clamp(page, 1, pageCount()));
    updatePagePosition();
}

std::string ReportPreview::pagePositionText() const {
    return "Stran " + std::to_string(currentPage()) + " od " + std::to_string(pageCount());
}

int ReportPreview::zoom() const {
    return parts_->zoom;
}

void ReportPreview::setZoom(int percent) {
    Parts& p = *parts_;
    p.zoom = std::clamp(percent, 0, kMaxZoom);
    if (p.zoom == 0) {
        p.view->fitInView();
        return;
    }
    p.view->setZoomMode(QPrintPreviewWidget::CustomZoom);
    p.view->setZoomFactor(p.zoom / 100.0);
}

void ReportPreview::zoomIn() {
    const int from = shownZoom(*parts_->view, zoom());
    setZoom(
        std::min(kMaxZoom, std::max(from + 1, static_cast<int>(std::lround(from * kZoomStep)))));
}

void ReportPreview::zoomOut() {
    const int from = shownZoom(*parts_->view, zoom());
    setZoom(std::max(kMinStepZoom, static_cast<int>(std::lround(from / kZoomStep))));
}

void ReportPreview::setPdfFolder(const std::filesystem::path& folder) {
    parts_->pdfFolder = folder;
}

std::filesystem::path ReportPreview::pdfFolder() const {
    return parts_->pdfFolder;
}

FileResult ReportPreview::saveAsPdf(const std::filesystem::path& file) {
    if (!writePagesToPdf(parts_->pages, file).ok())
        return FileResult::failure("Datoteke PDF " + file.string() + " ni bilo mogoče zapisati.");
    parts_->done = true;
    if (file.has_parent_path()) {
        parts_->pdfFolder = file.parent_path();
        lastPdfFolder() = file.parent_path();
    }
    return FileResult::success();
}

FileResult ReportPreview::printTo(const PrinterSettings& printer) {
    Parts& p = *parts_;
    if (!printer.device.empty()) {
        const QPrinterInfo info = QPrinterInfo::printerInfo(QString::fromStdString(printer.device));
        if (info.isNull())
            return FileResult::failure("Tiskalnik " + printer.device + " ni na voljo.");
        p.printer.setPrinterName(info.printerName());
    }
    p.printer.setCopyCount(std::max(1, printer.copies));
    if (!printPages(p.printer, p.pages))
        return FileResult::failure("Izpisa ni bilo mogoče natisniti: tiskalnik ga ni sprejel.");
    p.done = true;
    return FileResult::success();
}

void ReportPreview::printWithDialog() {
    Parts& p = *parts_;
    if (!execPrinterDialog(p.printer, p.request.printerDialogTitle, &p.dialog)) return;
    p.printerChosen = true;
    // The dialog may have changed the sheet: the view shows what will be printed.
    p.view->updatePreview();
    if (printPages(p.printer, p.pages))
        p.done = true;
    else
        warn(&p.dialog, "Izpisa ni bilo mogoče natisniti: tiskalnik ga ni sprejel.");
}

void ReportPreview::saveWithDialog() {
    Parts& p = *parts_;
    FileDialogRequest ask;
    ask.caption = "Shrani kot PDF";
    ask.path = (p.pdfFolder / pdfFileName(p.pages.title)).string();
    ask.filter = "PDF|*.pdf";
    ask.save = true;
    const std::optional<std::string> chosen = showFileDialog(ask, &p.dialog);
    if (!chosen) return;
    std::filesystem::path file = *chosen;
    if (!file.has_extension()) file += ".pdf";
    if (const FileResult saved = saveAsPdf(file); !saved.ok()) warn(&p.dialog, saved.error);
}

PrinterSettings ReportPreview::printer() const {
    return printerSettingsOf(parts_->printer);
}

bool ReportPreview::printerChosen() const {
    return parts_->printerChosen;
}

ReportPreviewResult ReportPreview::result() const {
    const Parts& p = *parts_;
    return {p.done ? RespCompleted : RespCancelled, p.printer.copyCount(), p.zoom};
}

QWidget* ReportPreview::window() const {
    return &parts_->dialog;
}

ReportPreviewResult showReportPreview(const ReportPreviewRequest& request, PrinterSettings& printer,
                                      QWidget* parent) {
    if (request.pages == nullptr || request.pages->empty())
        return {RespCancelled, request.copies, request.zoom};
    if (const std::optional<int> answer = hookedDialogAnswer(kDialogPreview))
        return {*answer == 1 ? RespCompleted : RespCancelled, request.copies, request.zoom};
    ReportPreview preview(request, printer, parent);
    const ReportPreviewResult result = preview.exec();
    if (preview.printerChosen()) printer = preview.printer();
    return result;
}

}  // namespace dv
