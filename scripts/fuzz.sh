#!/usr/bin/env bash
# Builds the libFuzzer targets with clang in build-fuzz/ and runs each of them for a
# number of seconds, then reports the executions per target. Findings (inputs that
# crash or break a rule) are written to build-fuzz/fuzz/findings/ and make the script
# fail; add each one under tests/regressions/inputs/<target>/ once it is fixed.
# usage: scripts/fuzz.sh [SECONDS_PER_TARGET (default 10)] [TARGET...]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-10}"
shift || true
build=build-fuzz
if [ ! -f "$build/build.ninja" ]; then
  CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DPELTO_FUZZ=ON -DPELTO_GUI=OFF -DPELTO_TESTS=OFF -DPELTO_BENCH=OFF >/dev/null
fi
cmake --build "$build" --target fuzz_all -- -j2 >/dev/null

if [ "$#" -gt 0 ]; then targets=("$@"); else mapfile -t targets <"$build/fuzz/targets.txt"; fi

# Seeds: the hand-written corpus, the inputs that once crashed, and the shipped effect
# sources with CR LF line ends, the way the program reads them after unpacking.
plain() { # the file as the program reads it: Windows-1252 with CR LF
  if iconv -f UTF-8 -t WINDOWS-1252 "$1" >/dev/null 2>&1; then
    iconv -f UTF-8 -t WINDOWS-1252 "$1" | sed 's/\r*$/\r/'
  else
    sed 's/\r*$/\r/' "$1"
  fi
}
seed() { # seed TARGET FILE...
  local dir="$build/fuzz/corpus/$1"
  shift
  for f in "$@"; do
    [ -f "$f" ] || continue
    plain "$f" >"$dir/effect-$(echo "$f" | md5sum | cut -c1-12)"
  done
}
for t in "${targets[@]}"; do
  dir="$build/fuzz/corpus/$t"
  mkdir -p "$dir" "$build/fuzz/findings"
  cp -f fuzz/corpus/"$t"/* "$dir"/ 2>/dev/null || true
  cp -f tests/regressions/inputs/"$t"/* "$dir"/ 2>/dev/null || true
  shopt -s nullglob globstar
  case "$t" in
    header) seed "$t" effects/**/*.hdr ;;
    links | attach) seed "$t" effects/**/*.htm effects/**/*.html ;;
    expand) seed "$t" effects/**/*.js effects/**/*.txt ;;
  esac
  if [ "$t" = link_attributes ]; then # a template, a NUL byte, then the page
    for page in effects/**/*.htm effects/**/*.html; do
      [ -f "$page" ] || continue
      out="$dir/effect-$(echo "$page" | md5sum | cut -c1-12)"
      printf 'title="*" data-more="#"\0' >"$out"
      plain "$page" >>"$out"
    done
  fi
  if [ "$t" = definition ]; then # the definition, a NUL byte, then the condition file
    for par in effects/**/*.par; do
      [ -f "$par" ] || continue
      out="$dir/effect-$(echo "$par" | md5sum | cut -c1-12)"
      plain "$par" >"$out"
      cnd="${par%.par}.cnd"
      if [ -f "$cnd" ]; then printf '\0' >>"$out"; plain "$cnd" >>"$out"; fi
    done
  fi
  shopt -u nullglob globstar
done

status=0
passed=0
failed=0
printf '%-18s %12s %10s  %s\n' target executions exec/s result
for t in "${targets[@]}"; do
  log="$build/fuzz/$t.log"
  if nice -n 10 "$build/fuzz/fuzz_$t" "$build/fuzz/corpus/$t" -max_total_time="$seconds" \
    -max_len=16384 -timeout=60 -rss_limit_mb=2048 -print_final_stats=1 \
    -artifact_prefix="$build/fuzz/findings/$t-" >"$log" 2>&1; then
    result=ok
    passed=$((passed + 1))
  else
    result="FINDING (see $log)"
    status=1
    failed=$((failed + 1))
  fi
  runs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$' || echo 0)
  rate=$(grep -o 'stat::average_exec_per_sec: *[0-9]*' "$log" | grep -o '[0-9]*$' || echo 0)
  printf '%-18s %12s %10s  %s\n' "$t" "${runs:-0}" "${rate:-0}" "$result"
done
echo "fuzz: $passed passed, $failed failed"
exit "$status"
