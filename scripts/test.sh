#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test twice: once in the ordinary build and once
# under AddressSanitizer and UndefinedBehaviorSanitizer. Exits non-zero on any failure.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh

jobs=$(nproc)
run_suite() {
    local dir=$1; shift
    cmake -S . -B "$dir" -G Ninja "$@"
    cmake --build "$dir" -j "$jobs"
    # One X server for the suite: the graphics tests open real windows.
    xvfb-run -a -s "-screen 0 1920x1080x24 -nolisten tcp" \
        ctest --test-dir "$dir" --output-on-failure -j "$jobs"
}

# The SGI reader's fuzz target needs clang; here it is only built and run once over its inputs.
if command -v clang++ >/dev/null; then
    cmake -S fuzz -B build-fuzz -G Ninja -DCMAKE_CXX_COMPILER=clang++
    cmake --build build-fuzz -j "$jobs"
    ctest --test-dir build-fuzz --output-on-failure
fi

run_suite build
run_suite build-sanitize -DSCRIVO_SANITIZE=ON -DSCRIVO_BUILD_BENCHMARKS=OFF -DCMAKE_BUILD_TYPE=Debug
