#pragma once

class QMdiArea;
class QMenuBar;

namespace dv {

// The frame's window menu "O&kna", put before the last menu of `bar` (the help menu): the open
// sub-windows of `area` side by side or in a cascade, and the list of them, the active one
// checked; choosing one brings it to the front. The list is read anew whenever the menu opens.
void addWindowMenu(QMenuBar& bar, QMdiArea& area);

}  // namespace dv
