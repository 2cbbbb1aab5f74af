#!/usr/bin/env bash
# Installs what is missing, checks the sources' format, builds, and runs every test twice: once in
# the ordinary build (every warning an error, names checked) and once under AddressSanitizer and
# UndefinedBehaviorSanitizer. Exits non-zero on any failure.
#
# --quick, for the edit-test loop: the format check, the ordinary build and its tests only (no fuzz
# targets, no naming check, no sanitizer pass). CI runs the whole command.
set -euo pipefail
cd "$(dirname "$0")/.."

quick=false
case "${1:-}" in
    --quick) quick=true ;;
    "") ;;
    *) echo "usage: $0 [--quick]" >&2; exit 2 ;;
esac

bash scripts/install-deps.sh

jobs=$(nproc)
# The ordinary build is a Release one: without debug information it compiles faster, and at -O3
# GCC's flow-based warnings (-Wrestrict, -Warray-bounds) see the most, so no warning hides there.
# The sanitizer build keeps debug information for its stack traces.
ordinary=(-DSCRIVO_WERROR=ON -DCMAKE_BUILD_TYPE=Release)
run_suite() {
    local dir=$1; shift
    cmake -S . -B "$dir" -G Ninja "$@"
    cmake --build "$dir" -j "$jobs"
    # One X server for the suite: the graphics tests open real windows.
    xvfb-run -a -s "-screen 0 1920x1080x24 -nolisten tcp" \
        ctest --test-dir "$dir" --output-on-failure -j "$jobs"
}

# The C++ sources and the public C headers follow .clang-format. The examples are left out: they
# are learners' C programs, laid out the way a beginners' course writes C.
git ls-files '*.cpp' '*.h' '*.c' ':!:Examples/*' | xargs clang-format --dry-run -Werror

if $quick; then
    run_suite build "${ordinary[@]}"
    exit 0
fi

# The fuzz targets need clang; here they are only built and run once over their inputs.
if command -v clang++ >/dev/null; then
    cmake -S fuzz -B build-fuzz -G Ninja -DCMAKE_CXX_COMPILER=clang++
    cmake --build build-fuzz -j "$jobs"
    ctest --test-dir build-fuzz --output-on-failure
fi

run_suite build "${ordinary[@]}"

# Each layer's names follow the .clang-tidy of its folder (the build wrote compile_commands.json),
# the tests' and benchmarks' too. The compiler's own warnings were GCC's business in the build
# above, so clang's are silenced here. The sanitizer settings are built only in the sanitizer
# build, and their names are the sanitizer runtime's. clang reads the commands without the
# precompiled header: the one GCC wrote is not clang's format.
mkdir -p build/tidy
sed 's| -include [^ ]*/cmake_pch\.hxx||' build/compile_commands.json >build/tidy/compile_commands.json
git ls-files 'editor/*.cpp' 'process/*.cpp' 'graphics/*.cpp' 'tactil/*.cpp' 'orvex/*.cpp' \
    'tests/*.cpp' 'benchmarks/*.cpp' ':!:tests/SanitizerDefaults.cpp' |
    xargs -n 4 -P "$jobs" clang-tidy -p build/tidy --quiet --warnings-as-errors='*' \
        --extra-arg=-Wno-everything 2>/dev/null

run_suite build-sanitize -DSCRIVO_SANITIZE=ON -DSCRIVO_BUILD_BENCHMARKS=OFF -DCMAKE_BUILD_TYPE=Debug
