#!/usr/bin/env bash
# Installs what is missing, builds, lays out the app folder in ./app and starts the editor from it.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
cmake -S . -B build -G Ninja
cmake --build build -j "$(nproc)"
cmake --install build --prefix app
cd app
exec ./Scrivo
