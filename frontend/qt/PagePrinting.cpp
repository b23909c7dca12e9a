#include "frontend/qt/PagePrinting.h"

#include <QPageLayout>
#include <QPainter>

#include "frontend/qt/pdf/PageRenderer.h"

namespace dv {

void preparePrinter(QPrinter& printer, const PageQueue& pages) {
    const bool landscape = pages.width > pages.height;
    const QSizeF portrait = landscape ? QSizeF(pages.height / 100.0, pages.width / 100.0)
                                      : QSizeF(pages.width / 100.0, pages.height / 100.0);
    printer.setFullPage(true);
    printer.setPageLayout(QPageLayout(QPageSize(portrait, QPageSize::Millimeter),
                                      landscape ? QPageLayout::Landscape : QPageLayout::Portrait,
                                      QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter));
    printer.setDocName(QString::fromStdString(pages.title));
}

bool printPages(QPrinter& printer, const PageQueue& pages) {
    QPainter painter;
    if (!painter.begin(&printer)) return false;
    const PageRenderer renderer(pages);
    const QRectF target = printer.pageLayout().fullRectPixels(printer.resolution());
    for (int i = 0; i < pages.pageCount(); ++i) {
        if (i > 0 && !printer.newPage()) {
            painter.end();
            return false;
        }
        renderer.render(painter, i, target);
    }
    return painter.end();
}

}  // namespace dv
