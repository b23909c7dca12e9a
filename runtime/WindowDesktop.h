#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <vector>

namespace dv {

class Window;

// The open windows of every procedure, in the order they were last activated: the last one has
// the focus. Windows add and remove themselves as they open and close. Like the windows, the
// desktop is used only by whoever holds the procedure scheduler's baton.
class WindowDesktop {
  public:
    WindowDesktop() = default;
    WindowDesktop(const WindowDesktop&) = delete;
    WindowDesktop& operator=(const WindowDesktop&) = delete;

    const std::vector<Window*>& windows() const { return windows_; }
    // The window that has the focus, nullptr when none is open.
    Window* focused() const { return windows_.empty() ? nullptr : windows_.back(); }
    // The application frame, nullptr when it is not open.
    Window* frame() const;
    // Gives `window` the focus; it receives GainFocus when it did not have it.
    void activate(Window& window);

    // Whether timers fire at once instead of after their interval (the headless front end).
    bool immediateTimers() const { return immediateTimers_; }
    void setImmediateTimers(bool immediate) { immediateTimers_ = immediate; }
    // When the earliest timer of an open window is due; nothing when no timer runs.
    std::optional<std::chrono::steady_clock::time_point> nextTimerDue() const;

    // Moves whenever a window opens, closes or is activated; front ends compare it to know
    // when to rebuild what they show.
    std::uint64_t changeCount() const { return changes_; }

  private:
    friend class Window;
    void add(Window& window);
    void remove(Window& window);

    std::vector<Window*> windows_;
    bool immediateTimers_ = false;
    std::uint64_t changes_ = 0;
};

}  // namespace dv
