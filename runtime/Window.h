#pragma once

#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/Control.h"
#include "runtime/Event.h"
#include "runtime/Layout.h"
#include "runtime/Timer.h"

namespace dv {

class ProcedureThread;
class WindowDesktop;

// Where a window stands on the desktop and how large it is, in pixels. A width or height of 0
// leaves that size to the front end (the size the layout needs).
struct WindowGeometry {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    bool maximized = false;

    friend bool operator==(const WindowGeometry&, const WindowGeometry&) = default;
};

// An open window: its controls in field order (numbers from 1), the focus, its queue of events,
// its timer and its alerted keys. A procedure opens it, takes its events with nextEvent until it
// is done, and closes it (or lets it go out of scope). The front end shows it and turns the
// user's input into events through WindowInput.h.
//
// Selecting a control (by program or by the user) gives it the focus and posts its Selected
// event; Tab moves the focus in field order after the control has been accepted.
class Window {
  public:
    // Opens the window on `desktop` (it becomes the focused window); its first event is
    // OpenWindow. The focus starts on the first control that can take it, without an event.
    Window(const WindowLayout& layout, WindowDesktop& desktop);
    // Opens it on the desktop of the calling procedure thread's scheduler.
    explicit Window(const WindowLayout& layout);
    // Opens the embedded layout of that name (see LayoutResources.h).
    explicit Window(std::string_view layoutName);
    ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    const std::string& name() const { return layout_.name; }
    // A number no other window of this run has: front ends tell a newly opened window from a
    // closed one that had the same address.
    std::uint64_t id() const { return id_; }
    const WindowLayout& layout() const { return layout_; }
    const std::string& caption() const { return caption_; }
    void setCaption(std::string caption) { caption_ = std::move(caption); }
    bool isFrame() const { return layout_.frame; }
    bool isResizable() const { return layout_.resizable; }

    // Position and size: the procedure restores them when the window opens, the front end keeps
    // them up to date as the user moves and sizes the window.
    const WindowGeometry& geometry() const { return geometry_; }
    void setGeometry(const WindowGeometry& geometry) { geometry_ = geometry; }
    // The smallest size the user may give a resizable window; 0 for no limit in that direction,
    // kNaturalSize for the size the front end first lays the window out at.
    static constexpr int kNaturalSize = -1;
    int minimumWidth() const { return minimumWidth_; }
    int minimumHeight() const { return minimumHeight_; }
    void setMinimumSize(int width, int height) {
        minimumWidth_ = width;
        minimumHeight_ = height;
    }
    WindowDesktop& desktop() const { return desktop_; }
    // The procedure thread that opened it, nullptr when the front end did.
    ProcedureThread* owner() const { return owner_; }

    // Removes it from the desktop; the model stays readable. Closing twice does nothing.
    void close();
    bool isOpen() const { return open_; }

    // Controls.
    int controlCount() const { return static_cast<int>(controls_.size()); }
    const std::vector<std::unique_ptr<Control>>& controls() const { return controls_; }
    Control& control(int number) const;             // throws std::out_of_range
    Control& control(std::string_view name) const;  // "?NAME" or "NAME"; throws out_of_range
    Control* find(std::string_view name) const;     // nullptr when there is none
    std::vector<Control*> childrenOf(const Control& container) const;

    // Focus.
    Control* focused() const { return focused_; }
    // Gives the control the focus and posts its Selected event; it ends an accept-all pass and
    // cancels the move of the focus that Tab had started.
    void select(Control& control);
    void select(std::string_view name) { select(control(name)); }
    // The next (or previous) control in field order that can take the focus, wrapping around;
    // nullptr when none can.
    Control* nextFocusable(const Control* from, bool backwards = false) const;

    // Events.
    void post(EventKind kind, int control = 0, KeyCode key = 0, std::string detail = {});
    void post(EventKind kind, const Control& control) { post(kind, control.number()); }
    // Posts an event as it is given (its serial is assigned here).
    void post(Event event);
    // The next event, waiting (on the procedure thread that opened the window) until there is
    // one.
    Event nextEvent();
    // The next event when one is ready, without waiting.
    std::optional<Event> takeEvent();
    // Whether takeEvent would give an event now.
    bool eventReady() const;
    // Starts an accept-all pass: every enabled, visible input control receives Accepted in field
    // order (Rejected, and the pass ends, when its text does not fit its picture), then the
    // window receives Completed. Selecting a control ends the pass early.
    void acceptAll();
    bool acceptingAll() const { return acceptAll_; }
    // After the event with `serial` has been taken, the focus moves to `next` with its Selected
    // event, unless the procedure selected a control in between (used by Tab).
    void moveFocusAfter(std::uint64_t serial, Control* next);
    std::uint64_t lastSerial() const { return serial_; }

    // Timer, in hundredths of a second; 0 stops it.
    void setTimer(int hundredths) { timer_.set(hundredths); }
    const Timer& timer() const { return timer_; }

    // Keys alerted for the whole window.
    void alert(KeyCode key);
    void unalert(KeyCode key);
    // Whether the key goes to the procedure as an AlertKey event while `focus` has the focus.
    bool alerted(KeyCode key, const Control* focus) const;

  private:
    void build();
    void giveFocus(Control* control);
    void settleFocusMove();
    std::optional<Event> nextAcceptAllEvent();

    const WindowLayout& layout_;
    const std::uint64_t id_;
    WindowDesktop& desktop_;
    ProcedureThread* owner_;
    std::string caption_;
    WindowGeometry geometry_;
    int minimumWidth_ = 0;
    int minimumHeight_ = 0;
    std::vector<std::unique_ptr<Control>> controls_;
    Control* focused_ = nullptr;
    std::deque<Event> events_;
    std::uint64_t serial_ = 0;
    std::uint64_t lastTaken_ = 0;
    struct FocusMove {
        std::uint64_t afterSerial;
        Control* next;
    };
    std::optional<FocusMove> focusMove_;
    bool acceptAll_ = false;
    int acceptAllAt_ = 0;
    Timer timer_;
    std::vector<KeyCode> alerts_;
    bool open_ = false;
};

}  // namespace dv
