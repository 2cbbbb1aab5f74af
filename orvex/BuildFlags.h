// The flags Orvex compiles and links every learner's program with, kept here as data: the examples'
// test builds the installed examples through Orvex and fails on any warning these flags bring out,
// so a flag added here holds for the examples too.
#pragma once

namespace orvex {

// The common warnings, and debugging information for the fault reports' line numbers.
inline constexpr const char *kCompileFlags[] = {"-Wall", "-Wextra", "-g"};

// Both compiling and linking take these when the compiler offers the sanitizers.
inline constexpr const char *kSanitizerFlags[] = {"-fsanitize=address,undefined",
                                                  "-fno-omit-frame-pointer"};

// After the object file. Only the libraries the program calls are loaded when it starts: a console
// program then starts without the graphics stack.
inline constexpr const char *kLinkFlags[] = {"-Wl,--as-needed", "-lGraphics", "-lTactil", "-lm"};

}  // namespace orvex
