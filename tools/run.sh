#!/usr/bin/env bash
# Installs what is missing, builds the program and starts it on the current display.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash tools/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$(nproc)" --target shoulu
exec ./build/app/shoulu "$@"
