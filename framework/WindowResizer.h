#pragma once

#include "runtime/Window.h"

namespace dv {

// How a control follows the window when the user resizes it: whether it moves with the right and
// bottom edges, and whether it grows with the window's width and height.
struct ResizeStrategy {
    bool moveRight = false;
    bool moveDown = false;
    bool growWidth = false;
    bool growHeight = false;

    friend bool operator==(const ResizeStrategy&, const ResizeStrategy&) = default;
};

// The strategy for a control of that type: lists, text boxes, sheets and groups grow both ways;
// entries, combo and drop-down lists grow in width; buttons keep their size and stay with the
// bottom right corner; everything else keeps its place and size.
ResizeStrategy resizeStrategy(ControlType type);

// The resizer of a resizable window: it records the size the window opened at and keeps the
// user from making the window smaller than that. The front end moves and sizes the controls by
// resizeStrategy as the window is resized.
class WindowResizer {
  public:
    WindowResizer() = default;
    WindowResizer(const WindowResizer&) = delete;
    WindowResizer& operator=(const WindowResizer&) = delete;

    // `opened` is the window's geometry as it opened, before any saved size was restored; a
    // size the front end chooses (0) becomes the front end's natural size as the minimum.
    void attach(Window& window, const WindowGeometry& opened);
    // The window ends; the resizer lets it go.
    void end();

    Window* window() const { return window_; }
    const WindowGeometry& initial() const { return initial_; }

  private:
    Window* window_ = nullptr;
    WindowGeometry initial_;
};

}  // namespace dv
