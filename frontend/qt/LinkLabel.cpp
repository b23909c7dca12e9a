#include "frontend/qt/LinkLabel.h"

#include <QEnterEvent>
#include <QPainter>

namespace dv {
namespace {

constexpr int kMarginX = 4;
constexpr int kMarginY = 2;

}  // namespace

LinkLabel::LinkLabel(const QString& text, std::optional<QColor> hover, QWidget* parent)
    : QAbstractButton(parent), hover_(std::move(hover)) {
    setText(text);
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::NoFocus);
    QFont underlined = font();
    underlined.setUnderline(true);
    setFont(underlined);
    setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Fixed);
}

QColor LinkLabel::textColour() const {
    if (pointerOver_ && hover_) return *hover_;
    return palette().color(QPalette::WindowText);
}

QSize LinkLabel::sizeHint() const {
    const QFontMetrics metrics(font());
    return {metrics.horizontalAdvance(text()) + 2 * kMarginX, metrics.height() + 2 * kMarginY};
}

void LinkLabel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setFont(font());
    painter.setPen(textColour());
    painter.drawText(rect().adjusted(kMarginX, kMarginY, -kMarginX, -kMarginY),
                     Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, text());
}

void LinkLabel::enterEvent(QEnterEvent* event) {
    pointerOver_ = true;
    update();
    QAbstractButton::enterEvent(event);
}

void LinkLabel::leaveEvent(QEvent* event) {
    pointerOver_ = false;
    update();
    QAbstractButton::leaveEvent(event);
}

}  // namespace dv
