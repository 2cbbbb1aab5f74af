// Whether the compiler builds programs with AddressSanitizer and UndefinedBehaviorSanitizer: their
// runtime libraries come in packages of their own that may be missing. Asking means compiling and
// linking a small program, a third of a run's time, so a yes is remembered per compiler in the
// user's cache folder and asked again only when the compiler changes. A no is not remembered:
// installing the runtimes changes no compiler, and should take effect at once.
#pragma once

#include <filesystem>
#include <string>

#include "ChildProcess.h"

namespace orvex {

struct SanitizerAnswer {
    bool Offered = false;
    bool Remembered = false;  // taken from the cache rather than asked now
    std::string Linker;       // the option choosing the fastest linker that works; empty: the own
};

// Asks `compiler` (a path), unless the cache says yes and `askAgain` is false; compiles in
// `scratch`. The cache file is $XDG_CACHE_HOME (or ~/.cache)/orvex/sanitizers, one line per
// compiler ("LINKER SIZE MTIME PATH"); a cache that cannot be read or written is left alone.
SanitizerAnswer CompilerOffersSanitizers(const std::string &compiler,
                                         const std::filesystem::path &scratch, SignalWatch &signals,
                                         bool askAgain = false);

}  // namespace orvex
