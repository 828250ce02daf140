#!/usr/bin/env bash
# Installs what is missing, builds Pelto and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPELTO_TESTS=OFF
cmake --build build -j"$(nproc)"
exec ./build/pelto/pelto
