#pragma once

#include <QFont>
#include <QPainter>
#include <QRectF>
#include <vector>

#include "runtime/PageQueue.h"

namespace dv {

// Draws report pages with a QPainter: the one renderer behind the screen preview, the printout
// and the PDF file. A page is drawn into a target rectangle of the painter's device, scaled to
// fill it; text is drawn as text, so a PDF keeps it searchable.
class PageRenderer {
  public:
    explicit PageRenderer(const PageQueue& pages);

    const PageQueue& pages() const { return pages_; }

    // Draws page `page` (from 0) into `target` (device coordinates), on a white sheet.
    void render(QPainter& painter, int page, const QRectF& target) const;

    // The target that fills a device of that many dots per inch with the page at natural size.
    QRectF naturalTarget(double dotsPerInch) const;

  private:
    void drawTexts(QPainter& painter, const Page& page) const;

    const PageQueue& pages_;
    std::vector<QFont> fonts_;  // in page units (hundredths of a millimetre)
};

}  // namespace dv
