#!/usr/bin/env bash
# Builds the Debian package from a finished build and checks what a user gets from it: the whole
# app folder under /opt/scrivo, the declared dependencies, a valid menu entry, manual pages that
# render, a pkg-config file on the default path, and a scrivo command that sets up a working folder
# of the user's own without ever replacing the user's files.
# Usage: check_package.sh BUILD_DIR EXPORTS_FILE
set -euo pipefail
build=$1
exports=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

cmake --install "$build" --prefix "$work/app" >/dev/null
cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1 ||
    { cat "$work/cpack.log" >&2; exit 1; }
debs=("$work"/out/scrivo_*.deb)
[ ${#debs[@]} -eq 1 ] || { echo "FAIL: expected one package, got: ${debs[*]}" >&2; exit 1; }
deb=${debs[0]}
root=$work/root
dpkg-deb -x "$deb" "$root"
app=$root/opt/scrivo

missing=$(comm -23 <(cd "$work/app" && find . ! -type d | sort) <(cd "$app" && find . ! -type d | sort))
[ -z "$missing" ] || fail "app folder files missing from the package: $missing"

depends=$(dpkg-deb -f "$deb" Depends)
for package in libqt6widgets6 libqscintilla2-qt6 libtinyxml2 libsdl2 libgl1 libglu1 libsoil1 \
    libfreetype6 gcc libc6-dev xterm fonts-liberation; do
    [[ "$depends" == *"$package"* ]] || fail "Depends lacks $package: $depends"
done

# A packager looks for these; the changelog's latest entry is the package's own version.
[ -s "$root/usr/share/doc/scrivo/copyright" ] || fail "/usr/share/doc/scrivo/copyright missing"
version=$(dpkg-deb -f "$deb" Version)
[[ "$(gzip -dc "$root/usr/share/doc/scrivo/changelog.Debian.gz" 2>/dev/null | head -n 1)" == \
    "scrivo ($version) "* ]] || fail "changelog.Debian.gz does not begin with version $version"
[[ "$(basename "$deb")" == "scrivo_${version}_"*.deb && "$version" == *+debian* ]] ||
    fail "the file name $(basename "$deb") does not name the Debian release"

entry=$root/usr/share/applications/scrivo.desktop
validation=$(desktop-file-validate "$entry" 2>&1) || true
[ -z "$validation" ] || fail "desktop-file-validate: $validation"
grep -qx 'Exec=scrivo' "$entry" || fail "the menu entry does not start the scrivo command"
[ "$(readlink "$root/usr/bin/scrivo")" = /opt/scrivo/bin/scrivo ] ||
    fail "/usr/bin/scrivo does not lead to the app folder's launcher"
for icon in 48x48/apps/scrivo.png 256x256/apps/scrivo.png scalable/apps/scrivo.svg; do
    [ -s "$root/usr/share/icons/hicolor/$icon" ] || fail "icon $icon missing"
done

for page in man1/scrivo.1.gz man1/orvex.1.gz man3/graphics.3.gz; do
    if ! MANWIDTH=80 man --warnings -l "$root/usr/share/man/$page" >"$work/page" 2>"$work/warnings" ||
        [ -s "$work/warnings" ] || [ ! -s "$work/page" ]; then
        fail "man -l $page: $(cat "$work/warnings")"
    fi
done
# The library's page lists every export; a renamed or added function must reach it.
for name in $(grep -v "^#" "$exports"); do
    grep -qw -- "$name" "$work/page" || fail "graphics(3) does not list $name"
done

flags=$(PKG_CONFIG_LIBDIR="$root/usr/lib/$(gcc -print-multiarch)/pkgconfig" \
    pkg-config --cflags --libs graphics) || fail "pkg-config finds no graphics.pc"
[[ "$flags" == *"-I/opt/scrivo/include"*"-L/opt/scrivo/lib"*"-lGraphics"* ]] ||
    fail "pkg-config gives $flags"

# The launcher, with a stand-in editor that tells where it was started.
printf '#!/bin/sh\npwd >"%s"\n' "$work/started-in" >"$app/Scrivo"
export XDG_DATA_HOME=$work/data
mine=$XDG_DATA_HOME/scrivo
"$app/bin/scrivo" || fail "the first start failed"
[ "$(cat "$work/started-in")" = "$mine" ] || fail "the editor did not start in $mine"
cmp -s "$app/Scrivo" "$mine/Scrivo" || fail "the editor was not copied beside the user's Examples"
diff -r "$app/Config" "$mine/Config" >/dev/null || fail "the settings file was not copied"
diff -r "$app/Examples" "$mine/Examples" >/dev/null || fail "the examples were not copied"
for link in Orvex Help; do
    [ "$(readlink -f "$mine/$link")" = "$(readlink -f "$app/$link")" ] || fail "./$link is not linked"
done

# The user edits an example and the settings and deletes an example; then the package is updated
# with a new example and a new editor.
echo '/* mine */' >"$mine/Examples/hello_window.c"
echo '<Mine/>' >"$mine/Config/Scrivo_Config.xml"
rm "$mine/Examples/shapes_2d.c"
"$app/bin/scrivo" || fail "the second start failed"
[ ! -e "$mine/Examples/shapes_2d.c" ] || fail "a deleted example came back without an update"
echo 'int main(void) { return 0; }' >"$app/Examples/new_example.c"
printf '#!/bin/sh\npwd >"%s"\n# updated\n' "$work/started-in" >"$app/Scrivo"
"$app/bin/scrivo" || fail "the start after the update failed"
[ "$(cat "$mine/Examples/hello_window.c")" = '/* mine */' ] || fail "the user's example was replaced"
[ "$(cat "$mine/Config/Scrivo_Config.xml")" = '<Mine/>' ] || fail "the user's settings were replaced"
[ -e "$mine/Examples/new_example.c" ] || fail "the update's new example did not arrive"
cmp -s "$app/Scrivo" "$mine/Scrivo" || fail "the user's copy of the editor was not renewed"

if [ "$failures" -ne 0 ]; then
    exit 1
fi
echo "package $(basename "$deb"): $(stat -c %s "$deb") bytes, installed size" \
    "$(dpkg-deb -f "$deb" Installed-Size) KiB; checks passed"
