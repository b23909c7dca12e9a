#include "frontend/qt/DesktopWindow.h"

#include <QCloseEvent>
#include <QMdiArea>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>
#include <algorithm>
#include <chrono>
#include <map>

#include "frontend/qt/ControlWidgets.h"
#include "frontend/qt/MdiWindow.h"
#include "frontend/qt/QtDialogs.h"
#include "frontend/qt/QtFrontEnd.h"
#include "frontend/qt/QtText.h"
#include "frontend/qt/ResourcePictures.h"
#include "frontend/qt/WindowMenu.h"
#include "runtime/Window.h"
#include "runtime/WindowDesktop.h"
#include "runtime/WindowInput.h"

namespace dv {
namespace {

// How soon to look again at a timer that was due but whose procedure could not take it (it
// waits for a dialog or for a window it called).
constexpr int kOverdueTimerRetryMs = 100;

bool isShown(const WindowDesktop& desktop, const MdiWindow& sub) {
    const auto& windows = desktop.windows();
    return std::any_of(windows.begin(), windows.end(), [&sub](const Window* window) {
        return window == sub.window() && window->id() == sub.windowId();
    });
}

}  // namespace

DesktopWindow::DesktopWindow(ProcedureScheduler& scheduler, QtFrontEnd& frontEnd)
    : scheduler_(scheduler), frontEnd_(frontEnd), area_(new QMdiArea(this)), toolBar_(nullptr) {
    setCentralWidget(area_);
    replaceChrome();
    statusBar();
    timer_.setSingleShot(true);
    connect(&timer_, &QTimer::timeout, this, [this] { synchronise(); });
    connect(area_, &QMdiArea::subWindowActivated, this,
            [this](QMdiSubWindow* sub) { subWindowActivated(sub); });
    frontEnd_.setDialogParent(this);
    setWindowTitle("DIDEROVIV");
    resize(1024, 720);
}

DesktopWindow::~DesktopWindow() {
    // The area announces the activations of its sub-windows as they are deleted with it.
    disconnect(area_, nullptr, this, nullptr);
    frontEnd_.setDialogParent(nullptr);
    detachAll();
}

void DesktopWindow::detachAll() {
    for (MdiWindow* sub : subWindows_) sub->detach();
    if (frameWidgets_) frameWidgets_->detach();
}

MdiWindow* DesktopWindow::subWindowOf(const Window& window) const {
    for (MdiWindow* sub : subWindows_)
        if (sub->window() == &window && sub->windowId() == window.id()) return sub;
    return nullptr;
}

// ---- the procedures

void DesktopWindow::synchronise() {
    if (finished_) return;
    for (;;) {
        runProcedures();
        refresh();
        if (checkForEnd()) continue;
        if (finished_) return;
        // A dialog open further up the stack goes on when it closes.
        if (dialogOpen_) break;
        if (!failures_.empty()) {
            reportFailures();
            continue;
        }
        if (!frontEnd_.hasWaitingDialog()) break;
        dialogOpen_ = true;
        frontEnd_.answerWaitingDialog();
        dialogOpen_ = false;
    }
    scheduleTimer();
}

void DesktopWindow::runProcedures() {
    scheduler_.runUntilIdle();
    for (const ProcedureEnd& end : scheduler_.takeEnded())
        if (end.failed)
            failures_.push_back("Postopek " + end.name + " se je nepričakovano končal.||" +
                                end.failure);
}

void DesktopWindow::reportFailures() {
    dialogOpen_ = true;
    while (!failures_.empty()) {
        const MessageBoxRequest box{" NAPAKA", failures_.front(), MessageIcon::Error, kButtonOk,
                                    kButtonOk};
        showMessageBox(box, this);
        failures_.erase(failures_.begin());
    }
    dialogOpen_ = false;
}

void DesktopWindow::scheduleTimer() {
    const auto due = scheduler_.desktop().nextTimerDue();
    if (finished_ || !due) {
        timer_.stop();
        return;
    }
    using namespace std::chrono;
    const auto wait = duration_cast<milliseconds>(*due - steady_clock::now()).count() + 1;
    timer_.start(wait < 1 ? kOverdueTimerRetryMs : static_cast<int>(wait));
}

// ---- the end of the program

bool DesktopWindow::closeEverything() {
    const std::vector<Window*> windows = scheduler_.desktop().windows();
    for (Window* window : windows) clickCloseBox(*window);
    return !windows.empty();
}

bool DesktopWindow::checkForEnd() {
    const WindowDesktop& desktop = scheduler_.desktop();
    if (desktop.frame() != nullptr) {
        frameSeen_ = true;
    } else if (frameSeen_ && !closing_) {
        closing_ = true;
        if (closeEverything()) return true;
    }
    if (frontEnd_.hasWaitingDialog() || !failures_.empty()) return false;
    if (scheduler_.liveCount() == 0) {
        finish();
    } else if (closing_ && desktop.windows().empty() && !desktop.nextTimerDue()) {
        // What is left waits for nothing the user could give it.
        scheduler_.shutdown();
        scheduler_.takeEnded();
        finish();
    }
    return false;
}

void DesktopWindow::finish() {
    finished_ = true;
    timer_.stop();
    detachAll();
    hide();
    if (onFinished_) onFinished_();
}

void DesktopWindow::closeEvent(QCloseEvent* event) {
    if (finished_) {
        event->accept();
        return;
    }
    event->ignore();
    if (Window* frame = scheduler_.desktop().frame()) {
        clickCloseBox(*frame);
    } else {
        closing_ = true;
        closeEverything();
    }
    synchronise();
}

// ---- showing the models

void DesktopWindow::refresh() {
    if (refreshing_) return;
    refreshing_ = true;
    WindowDesktop& desktop = scheduler_.desktop();
    if (desktop.changeCount() != seenChanges_) {
        seenChanges_ = desktop.changeCount();
        // The frame first: new sub-windows take its icon.
        showFrame(desktop.frame());
        reconcileSubWindows();
        activateFocusedSubWindow();
    }
    const Window* focused = desktop.focused();
    // The newest window of each procedure thread: the one its procedure waits on.
    std::map<const ProcedureThread*, std::uint64_t> newest;
    for (const Window* window : desktop.windows()) {
        std::uint64_t& id = newest[window->owner()];
        id = std::max(id, window->id());
    }
    for (MdiWindow* sub : subWindows_) {
        const Window* window = sub->window();
        if (window == nullptr) continue;
        const bool current = window->owner() == nullptr || newest[window->owner()] == window->id();
        sub->refresh(window == focused, current);
    }
    if (frameWidgets_ && frameWidgets_->window() != nullptr) {
        frameWidgets_->refresh(false);
        setWindowTitle(toQString(frameWidgets_->window()->caption()));
    }
    showStatus();
    refreshing_ = false;
}

void DesktopWindow::reconcileSubWindows() {
    const WindowDesktop& desktop = scheduler_.desktop();
    std::erase_if(subWindows_, [&desktop](MdiWindow* sub) {
        if (isShown(desktop, *sub)) return false;
        sub->detach();
        sub->hide();
        sub->deleteLater();
        return true;
    });
    for (Window* window : desktop.windows()) {
        if (window->isFrame() || subWindowOf(*window) != nullptr) continue;
        auto* sub = new MdiWindow(*window, windowIcon(), [this] { synchronise(); });
        area_->addSubWindow(sub);
        subWindows_.push_back(sub);
        sub->refresh(false, true);
        sub->placeByModel();
    }
}

void DesktopWindow::activateFocusedSubWindow() {
    const Window* focused = scheduler_.desktop().focused();
    if (focused == nullptr || focused->isFrame()) return;
    MdiWindow* sub = subWindowOf(*focused);
    if (sub != nullptr && area_->activeSubWindow() != sub) area_->setActiveSubWindow(sub);
}

void DesktopWindow::subWindowActivated(QMdiSubWindow* activated) {
    if (refreshing_ || activated == nullptr) return;
    auto it = std::find(subWindows_.begin(), subWindows_.end(), activated);
    if (it == subWindows_.end()) return;
    Window* window = (*it)->window();
    WindowDesktop& desktop = scheduler_.desktop();
    if (window == nullptr || desktop.focused() == window) return;
    desktop.activate(*window);
    synchronise();
}

// The old menu bar and toolbar go later: the user's choice that closed the frame may still be
// on its way out of them.
void DesktopWindow::replaceChrome() {
    setMenuBar(new QMenuBar);  // the main window lets the old one go with deleteLater
    if (toolBar_ != nullptr) {
        removeToolBar(toolBar_);
        toolBar_->deleteLater();
    }
    toolBar_ = new QToolBar(this);
    toolBar_->setMovable(false);
    addToolBar(toolBar_);
    toolBar_->hide();
}

void DesktopWindow::showFrame(Window* frame) {
    if (frame != nullptr && frameWidgets_ && frame->id() == frameId_) return;
    if (frame == nullptr && !frameWidgets_) return;
    if (frameWidgets_) {
        frameWidgets_->detach();
        frameWidgets_.release()->deleteLater();
        frameHost_.release()->deleteLater();
    }
    replaceChrome();
    area_->setBackground(palette().brush(QPalette::Dark));
    frameId_ = 0;
    if (frame == nullptr) return;
    frameId_ = frame->id();
    frameHost_ = std::make_unique<QWidget>();
    frameWidgets_ = std::make_unique<ControlWidgets>(
        *frame, *frameHost_, [this] { synchronise(); }, WindowChrome{menuBar(), toolBar_});
    toolBar_->setVisible(!toolBar_->actions().isEmpty());
    if (!menuBar()->actions().isEmpty()) addWindowMenu(*menuBar(), *area_);
    const WindowLayout& layout = frame->layout();
    if (!layout.font.empty()) {
        QFont font = this->font();
        font.setFamily(toQString(layout.font));
        setFont(font);
    }
    if (const QIcon icon = resourceIcon(layout.icon); !icon.isNull()) setWindowIcon(icon);
    if (auto wallpaper = resourcePicture(layout.wallpaper)) area_->setBackground(*wallpaper);
}

void DesktopWindow::showStatus() {
    const Window* focused = scheduler_.desktop().focused();
    const Control* control = focused ? focused->focused() : nullptr;
    const std::string status = control ? control->message() : std::string();
    if (status == status_) return;
    status_ = status;
    if (status.empty())
        statusBar()->clearMessage();
    else
        statusBar()->showMessage(toQString(status));
}

}  // namespace dv
