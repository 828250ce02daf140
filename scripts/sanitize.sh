#!/usr/bin/env bash
# Builds everything (windows included) with AddressSanitizer and UndefinedBehaviorSanitizer
# in build-san/ and runs the whole test suite there; only tests labelled "browser" (they
# drive a real browser, whose own process is not instrumented) are left out.
# usage: scripts/sanitize.sh [BUILD_DIR (default build-san)]
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build-san}"
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DPELTO_SANITIZE=ON -DPELTO_GUI=ON \
  -DPELTO_TESTS=ON -DPELTO_BENCH=OFF >/dev/null
cmake --build "$build" -- -j2
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:strict_string_checks=1:detect_stack_use_after_return=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "$build" --output-on-failure -j2 -LE browser
