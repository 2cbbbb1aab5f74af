#!/usr/bin/env bash
# Installs every Debian package the project needs to build, test and run.
# Idempotent: when everything is present it only checks and returns.
set -euo pipefail

packages=(
  cmake ninja-build g++ pkgconf
  qt6-base-dev libqscintilla2-qt6-dev qt6-multimedia-dev
  fonts-liberation fonts-dejavu-core
  libtinyxml2-dev
  # Orvex reads the compiler's JSON diagnostics with this header-only parser
  nlohmann-json3-dev
  libsdl2-dev libx11-dev libxtst-dev libgl-dev libglu1-mesa-dev libfreetype-dev libsoil-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  # PNG files of every bit depth and colour type in the graphics library
  libpng-dev
  xvfb xauth
  # trying the real editor under Xvfb by hand: window frames, real input, window properties
  openbox xdotool x11-utils
  # the terminal window in which Orvex shows a program's output
  xterm
  # the fuzz targets (libFuzzer) and the format and naming checks of the test command; the
  # unversioned libclang-rt-dev brings the sanitizer and libFuzzer runtimes of the release's clang
  clang libclang-rt-dev clang-format clang-tidy
  # the test command lists the sources to check with git
  git
  # making the Debian package (cpack's dependency step runs `file`) and checking its menu entry
  # and manual pages
  dpkg-dev file desktop-file-utils man-db
)

# Orvex links sanitized programs with gold where it finds it, five times as fast as GNU ld: gold
# comes with binutils up to Debian 12 and is a package of its own from Debian 13 on
if ! command -v ld.gold >/dev/null && apt-cache show binutils-gold >/dev/null 2>&1; then
  packages+=(binutils-gold)
fi

missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'ok installed' || missing+=("$package")
done

[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -q
"${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
