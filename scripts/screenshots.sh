#!/usr/bin/env bash
# Renders every window of Pelto to PNG files: runs each shots_* test of a build tree with
# PELTO_SCREENSHOTS pointing at the folder to fill.
# usage: scripts/screenshots.sh [BUILD_DIR] [OUT_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build-test}"
out="${2:-$build/screenshots}"
mkdir -p "$out"
found=0
# The live preview's engine cannot use its own sandbox when run as root.
if [ "$(id -u)" -eq 0 ]; then export QTWEBENGINE_DISABLE_SANDBOX=1; fi
for exe in "$build"/tests/shots_*; do
  [ -x "$exe" ] || continue
  found=1
  PELTO_SCREENSHOTS="$(cd "$out" && pwd)" QT_QPA_PLATFORM=offscreen "$exe"
done
[ "$found" = 1 ] || { echo "no shots_* tests in $build/tests (build with tests first)" >&2; exit 1; }
echo "screenshots in $out"
