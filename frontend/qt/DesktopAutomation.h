#pragma once

#include <functional>
#include <string>

namespace dv {

// Driving the running desktop program from outside, as a user would, by what its widgets show:
// the start-up benchmark and the screenshot tool use it on the real program. Call these on the
// GUI thread while the desktop runs (from the callback of pollDesktop).

// Calls `step` every `intervalMs` milliseconds on the GUI thread while the desktop runs, until
// it returns true. Needs the application: call it after ensureDesktopApplication (RunDesktop.h).
void pollDesktop(int intervalMs, std::function<bool()> step);

// Whether the application frame is shown with its menu bar filled.
bool desktopFrameUsable();
// Presses the frame's toolbar button with that text; false when there is none.
bool pressToolbarButton(const std::string& text);
// Chooses the item with that text of the frame's menu with that text (both as the menu shows
// them, with their & marks); false when there is none or it is disabled.
bool chooseMenuItem(const std::string& menu, const std::string& item);
// Whether a window with that caption is open on the desktop.
bool desktopWindowOpen(const std::string& caption);
// Presses the button with that text in the window with that caption; false when there is none.
bool pressWindowButton(const std::string& caption, const std::string& text);
// Highlights row `row` (from 1) of the first list in the window with that caption; false when
// it has no such row.
bool selectListRow(const std::string& caption, int row);
// Closes the window with that caption as its close box does; false when there is none.
bool closeDesktopWindow(const std::string& caption);
// Saves the frame with everything in it as a PNG picture; false when it cannot be written.
bool saveFramePicture(const std::string& path);
// Gives the frame that size in pixels.
void resizeDesktopFrame(int width, int height);
// Closes the frame as its close box does.
void closeDesktopFrame();

}  // namespace dv
