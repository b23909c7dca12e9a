// Under LeakSanitizer: fontconfig, which Qt uses to find the report fonts, keeps a cache that it
// never frees by design; that is not a leak of ours.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\n";
}
