#include "runtime/WindowDesktop.h"

#include <algorithm>

#include "runtime/Window.h"

namespace dv {

Window* WindowDesktop::frame() const {
    for (Window* window : windows_)
        if (window->isFrame()) return window;
    return nullptr;
}

void WindowDesktop::activate(Window& window) {
    if (focused() == &window) return;
    auto it = std::find(windows_.begin(), windows_.end(), &window);
    if (it == windows_.end()) return;
    windows_.erase(it);
    windows_.push_back(&window);
    ++changes_;
    window.post(EventKind::GainFocus);
}

std::optional<std::chrono::steady_clock::time_point> WindowDesktop::nextTimerDue() const {
    std::optional<std::chrono::steady_clock::time_point> earliest;
    for (const Window* window : windows_) {
        auto due = window->timer().nextDue();
        if (due && (!earliest || *due < *earliest)) earliest = due;
    }
    return earliest;
}

void WindowDesktop::add(Window& window) {
    windows_.push_back(&window);
    ++changes_;
}

void WindowDesktop::remove(Window& window) {
    const bool hadFocus = focused() == &window;
    std::erase(windows_, &window);
    ++changes_;
    if (hadFocus && focused()) focused()->post(EventKind::GainFocus);
}

}  // namespace dv
