#!/usr/bin/env bash
# Installs what is missing, builds Pelto with its tests and runs every test; last, builds
# the Debian package, installs it, checks it as a user would and removes it again.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build-test -G Ninja -DCMAKE_BUILD_TYPE=Debug -DPELTO_TESTS=ON -DPELTO_BENCH=ON
cmake --build build-test -j"$(nproc)"
ctest --test-dir build-test --output-on-failure -j2
bash scripts/fuzz.sh 5
bash scripts/sanitize.sh
bash scripts/package-check.sh
