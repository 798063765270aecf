// Sanitizer settings every test program starts with, so that a test run by hand behaves as it
// does under ctest. An environment variable (UBSAN_OPTIONS, LSAN_OPTIONS) still overrides them.

// Exported: the sanitizer runtime looks them up by name, and the build hides symbols by default.
#define SANITIZER_HOOK extern "C" __attribute__((visibility("default"), used))

SANITIZER_HOOK const char* __ubsan_default_options() { return "print_stacktrace=1"; }

// fontconfig keeps its parsed configuration for the life of the process and never frees it; the
// first font lookup in a configuration folder it has not seen before shows that as a leak.
SANITIZER_HOOK const char* __lsan_default_suppressions() { return "leak:libfontconfig\n"; }
