#include "frontend/qt/pdf/PageRenderer.h"

#include <QPen>
#include <cmath>

namespace dv {
namespace {

// Hundredths of a millimetre in a point (1/72 inch).
constexpr double kUnitsPerPoint = 2540.0 / 72.0;

QFont pageFont(const PageFont& font) {
    QFont q(QString::fromStdString(font.family));
    q.setPixelSize(std::max(1, static_cast<int>(std::lround(font.points * kUnitsPerPoint))));
    q.setBold(font.bold);
    q.setItalic(font.italic);
    q.setUnderline(font.underline);
    q.setHintingPreference(QFont::PreferNoHinting);
    q.setKerning(false);
    return q;
}

int alignmentFlags(TextAlign align) {
    switch (align) {
        case TextAlign::Center:
            return Qt::AlignHCenter;
        case TextAlign::Right:
            return Qt::AlignRight;
        case TextAlign::Left:
            break;
    }
    return Qt::AlignLeft;
}

}  // namespace

PageRenderer::PageRenderer(const PageQueue& pages) : pages_(pages) {
    for (const PageFont& font : pages.fonts) fonts_.push_back(pageFont(font));
    if (fonts_.empty()) fonts_.push_back(pageFont(PageFont{}));
}

QRectF PageRenderer::naturalTarget(double dotsPerInch) const {
    const double scale = dotsPerInch / 2540.0;
    return QRectF(0, 0, pages_.width * scale, pages_.height * scale);
}

void PageRenderer::render(QPainter& painter, int page, const QRectF& target) const {
    const Page& content = pages_.pages.at(static_cast<std::size_t>(page));
    painter.save();
    painter.fillRect(target, Qt::white);
    painter.translate(target.topLeft());
    painter.scale(target.width() / pages_.width, target.height() / pages_.height);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);

    QPen pen(Qt::black);
    pen.setCapStyle(Qt::FlatCap);
    painter.setBrush(Qt::NoBrush);
    for (const PageLine& line : content.lines) {
        pen.setWidthF(line.thickness);
        painter.setPen(pen);
        painter.drawLine(QPointF(line.x1, line.y1), QPointF(line.x2, line.y2));
    }
    for (const PageBox& box : content.boxes) {
        pen.setWidthF(box.thickness);
        painter.setPen(pen);
        painter.drawRect(QRectF(box.x, box.y, box.width, box.height));
    }
    drawTexts(painter, content);
    painter.restore();
}

void PageRenderer::drawTexts(QPainter& painter, const Page& page) const {
    painter.setPen(Qt::black);
    int current = -1;
    for (const PageText& text : page.texts) {
        if (text.text.empty()) continue;
        const int font =
            text.font >= 0 && text.font < static_cast<int>(fonts_.size()) ? text.font : 0;
        if (font != current) {
            painter.setFont(fonts_[static_cast<std::size_t>(font)]);
            current = font;
        }
        // A text without a width is as wide as it needs, from its left edge.
        const double width = text.width > 0 ? text.width : pages_.width - text.x;
        const QRectF box(text.x, text.y, width, text.height);
        const int flags = alignmentFlags(text.width > 0 ? text.align : TextAlign::Left) |
                          Qt::AlignVCenter | Qt::TextDontClip | Qt::TextSingleLine;
        painter.drawText(
            box, flags,
            QString::fromUtf8(text.text.data(), static_cast<qsizetype>(text.text.size())));
    }
}

}  // namespace dv
