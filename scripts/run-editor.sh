#!/usr/bin/env bash
# Installs what is missing, builds, lays out the app folder in ./app and starts the editor from it.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
cmake -S . -B build -G Ninja
cmake --build build -j "$(nproc)"
cmake --install build --prefix app
cd app
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  echo "The editor is built and laid out in $(pwd), but there is no display to show it on" >&2
  echo "(neither DISPLAY nor WAYLAND_DISPLAY is set). Run this command from a desktop session." >&2
  exit 1
fi
exec ./Scrivo
