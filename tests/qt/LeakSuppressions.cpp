// Under LeakSanitizer: the leaks that are not ours, of the fonts Qt draws the windows with.
#include "frontend/qt/LeakSuppressions.h"

extern "C" const char* __lsan_default_suppressions() {
    return dv::kQtLeakSuppressions;
}
