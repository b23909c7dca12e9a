#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "runtime/EventKey.h"

namespace dv {

// What happened in a window. Control events name the control; window events name none.
enum class EventKind {
    // Control events.
    Accepted,      // the user completed the control: typed and left it, pressed it, chose it
    Selected,      // the control got the focus
    NewSelection,  // another row, tab or choice was highlighted
    Rejected,      // typed text does not fit the control's picture
    AlertKey,      // an alerted key was pressed
    ScrollUp,      // a paged list was moved past its rows: one row up
    ScrollDown,
    PageUp,
    PageDown,
    ScrollTop,
    ScrollBottom,
    HeaderPressed,  // the heading of a list's column was clicked (see Event::column)
    RowMenu,        // the right mouse button was clicked on a list (see Event::row)
    MarkRow,        // a row of a list that marks rows was marked or unmarked (see Event::row)
    // Window events.
    OpenWindow,   // the window has opened (the first event it receives)
    CloseWindow,  // the window is asked to close (close box, Esc, the program's own request)
    CloseDown,    // the program is ending
    GainFocus,    // the window became the focused one again
    Timer,        // the window's timer fired
    Completed,    // every control was accepted in turn (see Window::acceptAll)
};

struct Event {
    EventKind kind = EventKind::OpenWindow;
    int control = 0;           // the control's number, 0 for a window event
    KeyCode key = 0;           // the key of an AlertKey event
    std::string detail;        // why input was rejected
    std::uint64_t serial = 0;  // order of posting within the window
    int column = 0;            // the column (from 1) of a HeaderPressed event
    int row = 0;               // the row (from 1) of RowMenu and MarkRow; 0 below the last row

    bool isWindowEvent() const { return control == 0; }
};

// "Accepted", "CloseWindow", ... for messages.
std::string_view eventKindName(EventKind kind);

}  // namespace dv
