#pragma once

namespace dv {

// What LeakSanitizer must not report in a program that draws report pages through Qt:
// fontconfig, which Qt asks for the report fonts, keeps a cache for the life of the process and
// never frees it, by design. A sanitized executable that may write a PDF returns this from its
// __lsan_default_suppressions (which must be defined in the executable itself, not in a library).
inline constexpr const char* kQtLeakSuppressions = "leak:libfontconfig.so\n";

}  // namespace dv
