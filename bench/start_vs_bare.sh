#!/usr/bin/env bash
# Pelto's start against a bare Qt window, as whole processes under one virtual display:
# "pelto --start-check" (until its main window is exposed) and bench/bare-window (the
# same for an empty QMainWindow), alternating pair by pair. Prints the median wall time
# and peak memory (maximum resident set) of each and the medians of the per-pair ratios.
#
#   bash bench/start_vs_bare.sh BUILD_DIR [PAIRS]
#
# BUILD_DIR is a build tree with PELTO_BENCH=ON (a Release build for figures that count)
# holding pelto/ and bench/bare-window.
set -euo pipefail

build=$(cd "${1:?usage: start_vs_bare.sh BUILD_DIR [PAIRS]}" && pwd)
pairs=${2:-21}
[[ -x $build/pelto/pelto && -x $build/bench/bare-window ]] ||
    { echo "no $build/pelto/pelto or $build/bench/bare-window: build pelto and bare-window" >&2; exit 2; }

work=$(mktemp -d)
xvfb=""
cleanup() {
    [[ -n $xvfb ]] && kill "$xvfb" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
# A program folder and a home of our own, so the runs start as a user's first start does
# and touch nothing of the build tree's.
cp -r "$build/pelto" "$work/home"
mkdir -p "$work/user"
display=:$((90 + RANDOM % 400))
Xvfb "$display" -screen 0 1600x1000x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
sleep 1

HOME="$work/user" XDG_CONFIG_HOME="$work/user/.config" XDG_DATA_HOME="$work/user/.local/share" \
DISPLAY="$display" QT_QPA_PLATFORM=xcb python3 - "$pairs" "$work/home/pelto" "$build/bench/bare-window" <<'PY'
import os, statistics, subprocess, sys, time

pairs, pelto, bare = int(sys.argv[1]), sys.argv[2], sys.argv[3]

def run(argv):
    start = time.perf_counter()
    proc = subprocess.Popen(argv, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
    _, status, usage = os.wait4(proc.pid, 0)
    wall = time.perf_counter() - start
    out = proc.stdout.read().decode().strip()
    proc.stdout.close()
    if os.waitstatus_to_exitcode(status) != 0 or not out:
        sys.exit(f"{argv[0]} did not show its window (exit {status}, printed {out!r})")
    return wall * 1000, usage.ru_maxrss / 1024  # ms, MB

run([pelto, "--start-check"])  # both start with the program in the cache
run([bare])
rows = []
for _ in range(pairs):
    p = run([pelto, "--start-check"])
    b = run([bare])
    rows.append((p, b))
med = statistics.median
pw, pm = med(r[0][0] for r in rows), med(r[0][1] for r in rows)
bw, bm = med(r[1][0] for r in rows), med(r[1][1] for r in rows)
print(f"pairs: {pairs}")
print(f"pelto --start-check: {pw:.0f} ms, {pm:.1f} MB (medians)")
print(f"bare window:         {bw:.0f} ms, {bm:.1f} MB (medians)")
print(f"wall time ratio:   {med(r[0][0] / r[1][0] for r in rows):.2f}x (median of pairs)")
print(f"peak memory ratio: {med(r[0][1] / r[1][1] for r in rows):.2f}x (median of pairs)")
PY
