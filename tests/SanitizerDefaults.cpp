// Sanitizer settings built into every test program of the sanitizer build, so that running a test
// binary by hand behaves exactly as under CTest. Leaks that are the platform's own are suppressed
// by the library frame they stop in (lsan.supp); our own code, and what it allocates through
// SDL2 and FreeType, keeps full leak detection.
#ifndef SCRIVO_LSAN_SUPPRESSIONS
#error "SCRIVO_LSAN_SUPPRESSIONS must name the suppressions file"
#endif

#include <cstdlib>

namespace {

// Mesa writes newly compiled shaders to its on-disk cache from a thread of its own, and Mesa 25
// leaves the writes still queued at exit, which LeakSanitizer reports. Whether any are queued
// depends on what earlier runs cached, so a graphics test failed on a fresh cache and passed on
// the repeat. The tests do without the cache; a value set by hand is kept.
[[gnu::constructor]] void TurnOffTheShaderCache() {
    setenv("MESA_SHADER_CACHE_DISABLE", "true", 0);
}

}  // namespace

extern "C" {
const char *__asan_default_options() {
    return "detect_leaks=1";
}
// Mesa's display lists keep their pointers at 4-byte offsets, where LeakSanitizer does not look
// by default: without use_unaligned every list of the bitmap font would be reported as leaked.
const char *__lsan_default_options() {
    return "use_unaligned=1:print_suppressions=0:suppressions=" SCRIVO_LSAN_SUPPRESSIONS;
}
const char *__ubsan_default_options() {
    return "print_stacktrace=1:halt_on_error=1";
}
}
