// Under LeakSanitizer: the leaks that are not ours, of the Qt page export the tests write PDF
// files with.
#include "frontend/qt/LeakSuppressions.h"

extern "C" const char* __lsan_default_suppressions() {
    return dv::kQtLeakSuppressions;
}
