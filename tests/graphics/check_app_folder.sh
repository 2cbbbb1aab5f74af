#!/usr/bin/env bash
# Installs the graphics part of the build into a fresh folder and checks it as a C programmer
# would use it: each library exports exactly the names of its list and libGraphics finds libTactil
# beside itself,
# and every complete program in the help compiles cleanly with the flags that pkg-config gives.
# The examples are compiled by Orvex, with its own flags, in orvex_examples_tests.
# Usage: check_app_folder.sh BUILD_DIR GRAPHICS_EXPORTS_FILE TACTIL_EXPORTS_FILE
set -euo pipefail
build_dir=$1
graphics_names=$2
tactil_names=$3

prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build_dir" --prefix "$prefix" --component graphics > /dev/null

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

library=$prefix/lib/libGraphics.so
for file in include/Graphics.h include/Tactil.h lib/libGraphics.so lib/libTactil.so \
            lib/pkgconfig/graphics.pc; do
    [ -e "$prefix/$file" ] || fail "$file is not installed"
done

# check_exports LIBRARY LIST_FILE: the library's dynamic symbols are exactly the names of the list
# (lines of names; comments start with #). The linker's own section markers are not ours.
check_exports() {
    local library=$1 names exported unexpected missing
    names=$(grep -E '^[A-Za-z_][A-Za-z0-9_]*$' "$2")
    exported=$(nm -D --defined-only "$library" | awk '{print $3}' \
        | grep -v -x -e __bss_start -e _edata -e _end || true)
    unexpected=$(grep -v -x -F -f <(echo "$names") <<< "$exported" || true)
    [ -z "$unexpected" ] || fail "$(basename "$library") exports names outside its list: $unexpected"
    missing=$(grep -v -x -F -f <(echo "$exported") <<< "$names" || true)
    [ -z "$missing" ] || fail "$(basename "$library") does not export: $missing"
}
check_exports "$library" "$graphics_names"
check_exports "$prefix/lib/libTactil.so" "$tactil_names"

tactil=$(ldd "$library" | awk '$1 == "libTactil.so" {print $3}')
[ "$tactil" = "$prefix/lib/libTactil.so" ] || fail "libGraphics.so finds libTactil.so at '$tactil'"

# The help marks each complete program with <pre class="program">; its text is HTML-escaped.
help_file=$(dirname "$0")/../../Help/Scrivo_Help.html
mkdir "$prefix/help"
awk -v folder="$prefix/help" '
    /<pre class="program">/ { inside = 1; count++; next }
    /<\/pre>/ { inside = 0 }
    inside {
        gsub(/&lt;/, "<"); gsub(/&gt;/, ">"); gsub(/&amp;/, "\\&")
        print > (folder "/program" count ".c")
    }
' "$help_file"
help_programs=("$prefix"/help/*.c)
[ -e "${help_programs[0]}" ] || fail "no complete program found in the help"

flags=$(PKG_CONFIG_PATH=$prefix/lib/pkgconfig pkg-config --cflags --libs graphics) \
    || fail "pkg-config does not describe the installed library"
# Built as the help tells a learner to build them outside the editor: the input library comes with
# pkg-config's flags, the maths library (sin, cos) is asked for by name.
for program in "${help_programs[@]}"; do
    [ -e "$program" ] || continue
    # shellcheck disable=SC2086
    cc "$program" -o "${program%.c}" $flags -lm -Wall -Wextra -Werror \
        || fail "$(basename "$program") does not compile cleanly with: $flags -lm"
done

[ "$failures" -eq 0 ] &&
    echo "app folder checks passed (${#help_programs[@]} help programs)"
exit "$failures"
