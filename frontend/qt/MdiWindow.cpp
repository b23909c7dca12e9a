#include "frontend/qt/MdiWindow.h"

#include <QCloseEvent>

#include "frontend/qt/QtText.h"
#include "frontend/qt/ResourcePictures.h"
#include "runtime/WindowInput.h"

namespace dv {

MdiWindow::MdiWindow(Window& window, const QIcon& frameIcon, std::function<void()> afterInput)
    : afterInput_(std::move(afterInput)), windowId_(window.id()), host_(new QWidget) {
    widgets_ = std::make_unique<ControlWidgets>(window, *host_, afterInput_);
    setWidget(host_);
    setAttribute(Qt::WA_DeleteOnClose, false);
    setWindowTitle(toQString(window.caption()));
    const QIcon own = resourceIcon(window.layout().icon);
    if (!own.isNull() || !frameIcon.isNull()) setWindowIcon(own.isNull() ? frameIcon : own);
    widgets_->watch(*this, 0);
}

MdiWindow::~MdiWindow() {
    widgets_->detach();
}

void MdiWindow::placeByModel() {
    Window* model = window();
    if (model == nullptr) return;
    natural_ = sizeHint();
    const WindowGeometry& geometry = model->geometry();
    const QSize size(geometry.width > 0 ? geometry.width : natural_.width(),
                     geometry.height > 0 ? geometry.height : natural_.height());
    if (geometry.x != 0 || geometry.y != 0)
        setGeometry(geometry.x, geometry.y, size.width(), size.height());
    else
        resize(size);
    if (model->isResizable()) {
        applyMinimumSize();
    } else {
        setFixedSize(size);
        setWindowFlag(Qt::WindowMaximizeButtonHint, false);
    }
    if (geometry.maximized && model->isResizable())
        showMaximized();
    else
        show();
    placed_ = true;
}

void MdiWindow::applyMinimumSize() {
    const Window* model = window();
    if (model == nullptr || !model->isResizable()) return;
    const auto limit = [](int wanted, int natural) {
        return wanted == Window::kNaturalSize ? natural : std::max(wanted, 0);
    };
    const QSize minimum(limit(model->minimumWidth(), natural_.width()),
                        limit(model->minimumHeight(), natural_.height()));
    if (minimumSize() != minimum) setMinimumSize(minimum);
}

void MdiWindow::refresh(bool focusedWindow, bool current) {
    Window* model = window();
    if (model == nullptr) return;
    const QString caption = toQString(model->caption());
    if (windowTitle() != caption) setWindowTitle(caption);
    if (placed_) applyMinimumSize();
    host_->setEnabled(current);
    widgets_->refresh(focusedWindow && current);
}

void MdiWindow::detach() {
    widgets_->detach();
}

void MdiWindow::closeEvent(QCloseEvent* event) {
    Window* model = window();
    if (model == nullptr) {
        event->accept();
        return;
    }
    event->ignore();
    clickCloseBox(*model);
    if (afterInput_) afterInput_();
}

void MdiWindow::writeGeometryBack() {
    Window* model = window();
    if (model == nullptr || !placed_ || isMaximized() || isMinimized()) return;
    WindowGeometry geometry = model->geometry();
    geometry.x = x();
    geometry.y = y();
    geometry.width = width();
    geometry.height = height();
    model->setGeometry(geometry);
}

void MdiWindow::moveEvent(QMoveEvent* event) {
    QMdiSubWindow::moveEvent(event);
    writeGeometryBack();
}

void MdiWindow::resizeEvent(QResizeEvent* event) {
    QMdiSubWindow::resizeEvent(event);
    writeGeometryBack();
}

void MdiWindow::changeEvent(QEvent* event) {
    QMdiSubWindow::changeEvent(event);
    Window* model = window();
    if (event->type() != QEvent::WindowStateChange || model == nullptr || !placed_) return;
    WindowGeometry geometry = model->geometry();
    geometry.maximized = isMaximized();
    model->setGeometry(geometry);
}

}  // namespace dv
