#pragma once

#include <QMdiSubWindow>
#include <cstdint>
#include <functional>
#include <memory>

#include "frontend/qt/ControlWidgets.h"
#include "runtime/Window.h"

namespace dv {

// One procedure window inside the application frame: its controls' widgets, its caption, and
// its place and size kept in step with the model. Closing it with its close box only asks the
// procedure to close it (the model window's close box); the sub-window goes away when the
// procedure closed the model window and the desktop detaches it. Its icon is its layout's, else
// `frameIcon`: the title bar draws the icon a sub-window was given, not the one it would inherit
// from the frame once it is added, so without it the toolkit's own would show.
class MdiWindow : public QMdiSubWindow {
  public:
    MdiWindow(Window& window, const QIcon& frameIcon, std::function<void()> afterInput);
    ~MdiWindow() override;

    // The model window; nullptr once detached.
    Window* window() const { return widgets_->window(); }
    // The id of the model window it was made for (see Window::id).
    std::uint64_t windowId() const { return windowId_; }
    ControlWidgets& widgets() const { return *widgets_; }

    // Takes the model's place and size once it has been added to the MDI area: a size of 0
    // leaves the size the layout needs, a position of 0, 0 leaves the place to the area. From
    // then on the user's moves and resizes are written back into the model, for the procedure
    // to save when it closes.
    void placeByModel();
    // Shows the model's caption and controls. `current`: the window is the newest of its
    // procedure thread; an older one waits for the procedure it called to return and takes no
    // input meanwhile (what the user did there would reach it only much later).
    void refresh(bool focusedWindow, bool current);
    // The model window is gone: the sub-window no longer reads or changes it.
    void detach();

  protected:
    void closeEvent(QCloseEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    void writeGeometryBack();
    void applyMinimumSize();

    std::function<void()> afterInput_;
    const std::uint64_t windowId_;
    QWidget* host_;
    std::unique_ptr<ControlWidgets> widgets_;
    QSize natural_;
    bool placed_ = false;
};

}  // namespace dv
