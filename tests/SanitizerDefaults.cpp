// Sanitizer settings built into every test program of the sanitizer build, so that running a test
// binary by hand behaves exactly as under CTest. Leaks inside system libraries are suppressed by
// library name; our own code keeps full leak detection.
#ifndef SCRIVO_LSAN_SUPPRESSIONS
#error "SCRIVO_LSAN_SUPPRESSIONS must name the suppressions file"
#endif

extern "C" {
const char *__asan_default_options() { return "detect_leaks=1"; }
const char *__lsan_default_options() {
    return "print_suppressions=0:suppressions=" SCRIVO_LSAN_SUPPRESSIONS;
}
const char *__ubsan_default_options() { return "print_stacktrace=1:halt_on_error=1"; }
}
