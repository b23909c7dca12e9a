#pragma once

#include <QMainWindow>
#include <QTimer>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "runtime/ProcedureScheduler.h"

class QMdiArea;
class QMdiSubWindow;
class QToolBar;

namespace dv {

class ControlWidgets;
class MdiWindow;
class QtFrontEnd;
class Window;

// The application frame on the screen: the frame window's caption, menu bar, toolbar and
// wallpaper, and an MDI area with one sub-window for every other open window of the desktop.
//
// It drives the procedures: after every input of the user, and when a window's timer is due, it
// runs the scheduler until every procedure waits, shows the windows as the models now are, and
// shows the dialogs procedures wait for, one at a time, running the scheduler again after each
// answer. It holds the baton whenever Qt delivers an event to it.
//
// The program ends when no procedure is left. When the frame closes (its procedure closed it, or
// the user closed the main window), every other window is told that the program is ending;
// windows that stay open (their procedure asks the user first) keep the program running until
// they close.
class DesktopWindow : public QMainWindow {
  public:
    DesktopWindow(ProcedureScheduler& scheduler, QtFrontEnd& frontEnd);
    ~DesktopWindow() override;
    DesktopWindow(const DesktopWindow&) = delete;
    DesktopWindow& operator=(const DesktopWindow&) = delete;

    // Runs the procedures until they wait, shows the result, answers waiting dialogs.
    void synchronise();
    // No procedure is left (or the rest were ended); `onFinished` has been called.
    bool finished() const { return finished_; }
    void setFinishedCallback(std::function<void()> onFinished) {
        onFinished_ = std::move(onFinished);
    }
    // Lets go of every model window: nothing shown reads or changes the models any more.
    void detachAll();

    QMdiArea& area() const { return *area_; }
    QToolBar& toolBar() const { return *toolBar_; }
    // The sub-window of an open model window, nullptr when it has none.
    MdiWindow* subWindowOf(const Window& window) const;
    // The frame's menus and toolbar buttons, nullptr while no frame is open.
    ControlWidgets* frameWidgets() const { return frameWidgets_.get(); }

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void runProcedures();
    void refresh();
    void reconcileSubWindows();
    void showFrame(Window* frame);
    void activateFocusedSubWindow();
    void subWindowActivated(QMdiSubWindow* sub);
    void reportFailures();
    bool closeEverything();
    bool checkForEnd();
    void replaceChrome();
    void showStatus();
    void finish();
    void scheduleTimer();

    ProcedureScheduler& scheduler_;
    QtFrontEnd& frontEnd_;
    QMdiArea* area_;
    QToolBar* toolBar_;
    QTimer timer_;
    std::vector<MdiWindow*> subWindows_;
    std::unique_ptr<QWidget> frameHost_;
    std::unique_ptr<ControlWidgets> frameWidgets_;
    std::uint64_t frameId_ = 0;
    std::uint64_t seenChanges_ = ~std::uint64_t{0};
    std::vector<std::string> failures_;
    std::string status_;
    std::function<void()> onFinished_;
    bool dialogOpen_ = false;
    bool refreshing_ = false;
    bool frameSeen_ = false;
    bool closing_ = false;
    bool finished_ = false;
};

}  // namespace dv
