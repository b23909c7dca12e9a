// Under LeakSanitizer (the sanitized build): the leaks that are not ours, of the Qt page export
// the program writes PDF files with. Without the sanitizer nothing calls this.
#include "frontend/qt/LeakSuppressions.h"

extern "C" const char* __lsan_default_suppressions() {
    return dv::kQtLeakSuppressions;
}
