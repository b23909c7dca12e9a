#pragma once

namespace dv {

class ProcedureScheduler;

// Runs the program on the Qt desktop: makes the application when there is none, shows the
// application frame and the windows of the scheduler's procedures, and turns the user's input
// into their events until no procedure is left (the caller has started the first one). Returns
// the program's exit status: 0, or 1 when no desktop could be made.
int runDesktop(ProcedureScheduler& scheduler);

// Makes the Qt application the desktop runs in when there is none yet; false when there is no
// display to show it on.
bool ensureDesktopApplication();

}  // namespace dv
