#pragma once

#include <string>

#include "runtime/Window.h"

namespace dv {

// Whether a user action could be done; when not, why ("?Naziv is disabled").
struct InputResult {
    std::string refusal;
    bool ok() const { return refusal.empty(); }
};

// What the user does to a window, turned into changes of its model and events for its
// procedure. Both front ends pass the user's input through these; they are called only while the
// front end holds the procedure scheduler's baton, and the procedure sees the events when it
// next waits.
//
// Leaving a control whose text the user changed accepts it: the text is checked against the
// control's picture (Rejected with the reason, and the focus stays, when it does not fit),
// shown as the picture formats it, and the control receives Accepted.

// A key. An alerted key reaches the procedure as an AlertKey event of the focused control.
// Otherwise: Tab and Shift+Tab accept the focused control and move the focus in field order;
// Enter presses a focused button, accepts a focused list, or accepts the focused control and
// presses the window's default button; Esc asks the window to close; Space presses a focused
// button, check box or radio; Up, Down, PgUp, PgDn, Home and End move a list's highlight (a
// paged list receives scroll events at its ends and for the page keys). Other keys do nothing.
InputResult pressKey(Window& window, KeyCode key);

// Gives a control the focus as a click does, accepting the control that had it.
InputResult focusControl(Window& window, Control& control);

// Replaces the contents of the focused input control with `text`, as typing does, without
// accepting it. A drop list takes only one of its choices.
InputResult typeInto(Window& window, Control& control, std::string text);

// Presses a button, link, toolbar button or menu item (Accepted), toggles a check box, chooses a
// radio (the option group takes its value and receives Accepted) or chooses a tab. A control
// that had the focus with changed text is accepted first.
InputResult pressControl(Window& window, Control& control);

// Highlights row `row` (from 1) of a list, which gets the focus; the list receives
// NewSelection.
InputResult highlightRow(Window& window, Control& list, int row);

// Ctrl+click on row `row` (from 1) of a list whose layout lets it mark rows: the row is
// highlighted as by highlightRow, and the list receives MarkRow with the row, which marks it or
// takes its mark away.
InputResult markRow(Window& window, Control& list, int row);

// Clicks the heading of column `column` (from 1) of a list: the list receives HeaderPressed
// with the column. The focus does not move, as a click on a heading leaves it where it was.
InputResult pressColumnHeader(Window& window, Control& list, int column);

// The right mouse button clicked on row `row` of a list (0: below its rows), which asks for the
// list's menu; the list gets the focus first.
InputResult rightClickRow(Window& window, Control& list, int row);

// Shows a tab of a sheet; the sheet receives NewSelection.
InputResult chooseTab(Window& window, Control& tab);

// The close box: the window receives CloseWindow.
void clickCloseBox(Window& window);

}  // namespace dv
