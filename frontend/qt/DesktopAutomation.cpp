#include "frontend/qt/DesktopAutomation.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QAbstractItemView>
#include <QMenu>
#include <QMenuBar>
#include <QPixmap>
#include <QTimer>
#include <QToolBar>
#include <memory>


namespace dv {
namespace {

QMainWindow* shownFrame() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        auto* frame = qobject_cast<QMainWindow*>(widget);
        if (frame != nullptr && frame->isVisible()) return frame;
    }
    return nullptr;
}

QMdiSubWindow* subWindow(const std::string& caption) {
    QMainWindow* frame = shownFrame();
    if (frame == nullptr) return nullptr;
    const QString title = QString::fromStdString(caption);
    for (QMdiArea* area : frame->findChildren<QMdiArea*>())
        for (QMdiSubWindow* window : area->subWindowList())
            if (window->windowTitle() == title) return window;
    return nullptr;
}

}  // namespace

void pollDesktop(int intervalMs, std::function<bool()> step) {
    auto* timer = new QTimer(QApplication::instance());
    timer->setInterval(intervalMs);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, step = std::move(step)] {
        if (step()) timer->deleteLater();
    });
    timer->start();
}

bool desktopFrameUsable() {
    QMainWindow* frame = shownFrame();
    return frame != nullptr && frame->menuBar() != nullptr && !frame->menuBar()->actions().isEmpty();
}

bool pressToolbarButton(const std::string& text) {
    QMainWindow* frame = shownFrame();
    if (frame == nullptr) return false;
    const QString wanted = QString::fromStdString(text);
    for (QToolBar* toolbar : frame->findChildren<QToolBar*>())
        for (QAction* action : toolbar->actions())
            if (action->text() == wanted && action->isEnabled()) {
                action->trigger();
                return true;
            }
    return false;
}

bool chooseMenuItem(const std::string& menu, const std::string& item) {
    QMainWindow* frame = shownFrame();
    if (frame == nullptr || frame->menuBar() == nullptr) return false;
    const QString menuText = QString::fromStdString(menu);
    const QString itemText = QString::fromStdString(item);
    for (QAction* top : frame->menuBar()->actions()) {
        if (top->text() != menuText || top->menu() == nullptr) continue;
        for (QAction* action : top->menu()->actions())
            if (action->text() == itemText && action->isEnabled()) {
                action->trigger();
                return true;
            }
    }
    return false;
}

bool desktopWindowOpen(const std::string& caption) {
    return subWindow(caption) != nullptr;
}

bool pressWindowButton(const std::string& caption, const std::string& text) {
    QMdiSubWindow* window = subWindow(caption);
    if (window == nullptr) return false;
    const QString wanted = QString::fromStdString(text);
    for (QAbstractButton* button : window->findChildren<QAbstractButton*>())
        if (button->text() == wanted && button->isEnabled()) {
            button->click();
            return true;
        }
    return false;
}

bool selectListRow(const std::string& caption, int row) {
    QMdiSubWindow* window = subWindow(caption);
    if (window == nullptr) return false;
    const QList<QAbstractItemView*> lists = window->findChildren<QAbstractItemView*>();
    if (lists.isEmpty() || lists.front()->model() == nullptr) return false;
    QAbstractItemView& list = *lists.front();
    const QModelIndex index = list.model()->index(row - 1, 0);
    if (!index.isValid()) return false;
    list.setFocus();
    list.setCurrentIndex(index);
    return true;
}

bool closeDesktopWindow(const std::string& caption) {
    QMdiSubWindow* window = subWindow(caption);
    if (window == nullptr) return false;
    window->close();
    return true;
}

bool saveFramePicture(const std::string& path) {
    QMainWindow* frame = shownFrame();
    return frame != nullptr && frame->grab().save(QString::fromStdString(path), "PNG");
}

void resizeDesktopFrame(int width, int height) {
    if (QMainWindow* frame = shownFrame()) frame->resize(width, height);
}

void closeDesktopFrame() {
    if (QMainWindow* frame = shownFrame()) frame->close();
}

}  // namespace dv
