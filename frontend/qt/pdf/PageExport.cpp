#include "frontend/qt/pdf/PageExport.h"

#include <QImage>
#include <QPageSize>
#include <QPdfWriter>

#include "frontend/qt/pdf/PageRenderer.h"
#include "frontend/qt/pdf/QtApplication.h"

namespace dv {
namespace {

// Dots per inch of the PDF's coordinates: fine enough that no placement is rounded visibly.
constexpr int kPdfResolution = 1200;

QString pathText(const std::filesystem::path& file) {
    return QString::fromStdString(file.string());
}

// Writes the PDF into `part`; the failure, if any.
FileResult writePdf(const PageQueue& pages, const std::filesystem::path& part,
                    const std::filesystem::path& file) {
    const FileResult failed =
        FileResult::failure("The PDF file " + file.string() + " cannot be written.");
    QPdfWriter writer(pathText(part));
    writer.setResolution(kPdfResolution);
    writer.setPageSize(QPageSize(QSizeF(pages.width / 100.0, pages.height / 100.0),
                                 QPageSize::Millimeter, QString(), QPageSize::ExactMatch));
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    writer.setTitle(QString::fromStdString(pages.title));
    writer.setCreator(QStringLiteral("DIDEROVIV"));
    QPainter painter;
    if (!painter.begin(&writer)) return failed;
    const PageRenderer renderer(pages);
    const QRectF target = renderer.naturalTarget(kPdfResolution);
    for (int i = 0; i < pages.pageCount(); ++i) {
        if (i > 0 && !writer.newPage()) {
            painter.end();
            return failed;
        }
        renderer.render(painter, i, target);
    }
    return painter.end() ? FileResult::success() : failed;
}

}  // namespace

// The file is written beside its place under another name and then put in place, so that a
// failure never leaves a half-written PDF nor destroys the one that was there.
FileResult writePagesToPdf(const PageQueue& pages, const std::filesystem::path& file) {
    if (pages.empty()) return FileResult::failure("The report has no pages to save.");
    ensureQtApplication();
    std::filesystem::path part = file;
    part += ".part";
    FileResult written = writePdf(pages, part, file);
    std::error_code error;
    if (written.ok()) std::filesystem::rename(part, file, error);
    if (!written.ok() || error) {
        std::filesystem::remove(part, error);
        return written.ok() ? FileResult::failure("The PDF file " + file.string() +
                                                  " cannot be put in place.")
                            : written;
    }
    return FileResult::success();
}

FileResult writePageToPng(const PageQueue& pages, int page, const std::filesystem::path& file,
                          int dotsPerInch) {
    if (page < 0 || page >= pages.pageCount())
        return FileResult::failure("The report has no page " + std::to_string(page + 1) + ".");
    if (dotsPerInch < 10 || dotsPerInch > 1200)
        return FileResult::failure("A picture of a page has 10 to 1200 dots per inch.");
    ensureQtApplication();
    const PageRenderer renderer(pages);
    const QRectF target = renderer.naturalTarget(dotsPerInch);
    QImage image(target.size().toSize(), QImage::Format_RGB32);
    image.setDotsPerMeterX(static_cast<int>(dotsPerInch / 0.0254));
    image.setDotsPerMeterY(static_cast<int>(dotsPerInch / 0.0254));
    {
        QPainter painter(&image);
        renderer.render(painter, page, target);
    }
    if (!image.save(pathText(file), "PNG"))
        return FileResult::failure("The picture " + file.string() + " cannot be written.");
    return FileResult::success();
}

}  // namespace dv
