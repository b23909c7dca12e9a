#include "frontend/qt/ReportPreview.h"

#include <QAction>
#include <QDialog>
#include <QFileDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPrinterInfo>
#include <QToolBar>
#include <QVBoxLayout>
#include <algorithm>

#include "frontend/qt/PageExport.h"
#include "frontend/qt/PagePrinting.h"
#include "frontend/qt/QtApplication.h"

namespace dv {

struct ReportPreview::Parts {
    const PageQueue& pages;
    ReportPreviewRequest request;
    QPrinter printer{QPrinter::HighResolution};
    QDialog dialog;
    QPrintPreviewWidget* view = nullptr;
    int zoom = 0;
    bool done = false;  // printed or saved

    explicit Parts(const ReportPreviewRequest& r) : pages(*r.pages), request(r) {}
};

ReportPreview::ReportPreview(const ReportPreviewRequest& request) {
    ensureQtApplication();
    parts_ = std::make_unique<Parts>(request);
    Parts& p = *parts_;
    preparePrinter(p.printer, p.pages);
    p.printer.setCopyCount(std::max(1, request.copies));
    p.dialog.setWindowTitle(QString::fromStdString(p.pages.title));
    p.view = new QPrintPreviewWidget(&p.printer, &p.dialog);
    QObject::connect(p.view, &QPrintPreviewWidget::paintRequested,
                     [&p](QPrinter* printer) { printPages(*printer, p.pages); });

    auto* bar = new QToolBar(&p.dialog);
    bar->addAction(QStringLiteral("Natisni..."), [this] {
        Parts& q = *parts_;
        QPrintDialog ask(&q.printer, &q.dialog);
        ask.setWindowTitle(QString::fromStdString(q.request.printerDialogTitle));
        if (ask.exec() != QDialog::Accepted) return;
        if (printPages(q.printer, q.pages))
            q.done = true;
        else
            QMessageBox::warning(&q.dialog, QStringLiteral("Please note..."),
                                 QStringLiteral("The report could not be sent to the printer."));
    });
    bar->addAction(QStringLiteral("Shrani PDF..."), [this] {
        const QString file =
            QFileDialog::getSaveFileName(&parts_->dialog, QStringLiteral("Shrani PDF"), QString(),
                                         QStringLiteral("PDF (*.pdf)"));
        if (file.isEmpty()) return;
        if (const FileResult saved = saveAsPdf(file.toStdString()); !saved.ok())
            QMessageBox::warning(&parts_->dialog, QStringLiteral("Please note..."),
                                 QString::fromStdString(saved.error));
    });
    bar->addSeparator();
    bar->addAction(QStringLiteral("Povečaj"), [this] { setZoom(std::max(zoom(), 25) * 5 / 4); });
    bar->addAction(QStringLiteral("Pomanjšaj"), [this] { setZoom(std::max(zoom(), 25) * 4 / 5); });
    bar->addAction(QStringLiteral("Cela stran"), [this] { setZoom(0); });
    bar->addSeparator();
    bar->addAction(QStringLiteral("Zapri"), &p.dialog, &QDialog::accept);

    auto* layout = new QVBoxLayout(&p.dialog);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(bar);
    layout->addWidget(p.view);
    p.dialog.resize(900, 1000);
    setZoom(request.zoom);
    p.view->updatePreview();
}

ReportPreview::~ReportPreview() = default;

ReportPreviewResult ReportPreview::exec() {
    parts_->dialog.exec();
    return result();
}

int ReportPreview::pageCount() const {
    return parts_->view->pageCount();
}

int ReportPreview::zoom() const {
    return parts_->zoom;
}

void ReportPreview::setZoom(int percent) {
    Parts& p = *parts_;
    p.zoom = std::clamp(percent, 0, 800);
    if (p.zoom == 0) {
        p.view->fitInView();
        return;
    }
    p.view->setZoomMode(QPrintPreviewWidget::CustomZoom);
    p.view->setZoomFactor(p.zoom / 100.0);
}

FileResult ReportPreview::saveAsPdf(const std::filesystem::path& file) {
    FileResult saved = writePagesToPdf(parts_->pages, file);
    if (saved.ok()) parts_->done = true;
    return saved;
}

FileResult ReportPreview::printTo(const PrinterSettings& printer) {
    Parts& p = *parts_;
    if (!printer.device.empty()) {
        const QPrinterInfo info = QPrinterInfo::printerInfo(QString::fromStdString(printer.device));
        if (info.isNull())
            return FileResult::failure("The printer " + printer.device + " is not available.");
        p.printer.setPrinterName(info.printerName());
    }
    p.printer.setCopyCount(std::max(1, printer.copies));
    if (!printPages(p.printer, p.pages))
        return FileResult::failure("The report could not be sent to the printer.");
    p.done = true;
    return FileResult::success();
}

ReportPreviewResult ReportPreview::result() const {
    const Parts& p = *parts_;
    return {static_cast<std::uint8_t>(p.done ? 1 : 2), p.printer.copyCount(), p.zoom};
}

}  // namespace dv
