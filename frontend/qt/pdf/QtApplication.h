#pragma once

namespace dv {

// Makes sure a Qt application exists for drawing fonts and pages: when none does, one without
// a display (the offscreen platform) is made and kept for the rest of the run.
void ensureQtApplication();

}  // namespace dv
