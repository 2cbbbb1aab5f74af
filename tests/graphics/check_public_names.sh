#!/usr/bin/env bash
# The export lists are the one place that says which functions a C program can call. This checks
# that everything else that names them agrees: each public header declares exactly its library's
# list, and the manual page and the help's table of families name exactly the two lists together.
# Usage: check_public_names.sh SOURCE_DIR
set -euo pipefail
source_dir=$1

failures=0
# compare WHAT NAMES_FILE LISTED_FILE: both sorted, one name per line
compare() {
    local what=$1 expected=$2 listed=$3 difference
    difference=$(comm -3 "$expected" "$listed" | awk -v what="$what" '
        /^\t/ { sub(/^\t/, ""); print "    only in " what ": " $0; next }
        { print "    only in the export list: " $0 }')
    if [ -n "$difference" ]; then
        echo "FAIL: $what does not name exactly the exported functions:"
        echo "$difference"
        failures=$((failures + 1))
    fi
}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

names_in_list() { grep -E '^[A-Za-z_][A-Za-z0-9_]*$' "$1" | sort -u; }
# A declaration in a header: MACRO return-type name(...
declared() { grep -oP "^$1\b[^(;]*?\b\K[A-Za-z_][A-Za-z0-9_]*(?=\()" "$2" | sort -u; }

names_in_list "$source_dir/graphics/exports.txt" > "$work/graphics"
names_in_list "$source_dir/tactil/exports.txt" > "$work/tactil"
# Tactil's list ends with the names only the graphics library calls, after a comment saying so.
awk '/^# Called by the graphics library/ { exit } /^[A-Za-z_]/' "$source_dir/tactil/exports.txt" |
    sort -u "$work/graphics" - > "$work/all"

declared GRAPHICS_API "$source_dir/graphics/Graphics.h" > "$work/graphics.h"
compare "graphics/Graphics.h" "$work/graphics" "$work/graphics.h"
declared TACTIL_API "$source_dir/tactil/Tactil.h" > "$work/tactil.h"
compare "tactil/Tactil.h" "$work/tactil" "$work/tactil.h"

# The manual page marks every function name with \% (no hyphenation).
grep -oP '\\%\K[A-Za-z_][A-Za-z0-9_]*' "$source_dir/packaging/man/graphics.3.in" | sort -u \
    > "$work/manual"
compare "the manual page graphics(3)" "$work/all" "$work/manual"

sed -n '/<h2 id="families">/,/<\/table>/p' "$source_dir/Help/Scrivo_Help.html" |
    grep -oP '<code>\K[A-Za-z_][A-Za-z0-9_]*(?=</code>)' | sort -u > "$work/help"
compare "the help's table of families" "$work/all" "$work/help"

[ "$failures" -eq 0 ] && echo "the headers, the manual page and the help name the $(wc -l < "$work/all") exported functions"
exit "$failures"
