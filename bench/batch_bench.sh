#!/usr/bin/env bash
# Many pages at once: pelto-cli apply over PAGES pages of 20 KB (copy option) with
# --jobs 2 against --jobs 1, and against copying the same pages with cp. Every figure is
# the best of RUNS runs, in seconds. The program folder and the pages live in a fresh
# temporary folder (on the disk of $TMPDIR, /tmp by default).
#
#   bash bench/batch_bench.sh [BUILD_DIR] [PAGES] [SCRIPTID] [RUNS]
set -euo pipefail
build=${1:-build-rel}
pages=${2:-1000}
effect=${3:-pelto.backtotop}
runs=${4:-3}
cli="$build/pelto/pelto-cli"
[ -x "$cli" ] || { echo "no $cli: build pelto-cli and pelto_data first" >&2; exit 2; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp -r "$build/pelto" "$work/home"
rm -rf "$work/home/userdata/undo" "$work/home/output"/*
mkdir -p "$work/site"
# A page of about 20 KB: a head, a body of paragraphs.
para=$(printf '<p>Lorem ipsum dolor sit amet, consectetur adipiscing elit, sed do eiusmod %.0s' {1..4})
{
  printf '<html><head><title>Page</title></head>\r\n<body>\r\n'
  for _ in $(seq 1 64); do printf '%s</p>\r\n' "$para"; done
  printf '</body></html>\r\n'
} > "$work/page.htm"
for i in $(seq 1 "$pages"); do
  d="$work/site/d$((i % 20))"
  mkdir -p "$d"
  cp "$work/page.htm" "$d/p$i.htm"
done
echo "pages: $pages of $(stat -c %s "$work/page.htm") bytes; effect $effect; best of $runs"

now() { date +%s.%N; }
clean() {
  find "$work/site" -name '*_1.htm' -delete
  find "$work/site" -type f ! -name 'p*.htm' -delete
  rm -rf "$work/home/userdata/undo"
  sync
}
best() { # best of the runs of a command, in seconds
  local b=""
  for _ in $(seq 1 "$runs"); do
    clean
    local t0 t1
    t0=$(now)
    "$@" > /dev/null
    t1=$(now)
    b=$(echo "$t0 $t1 ${b:-1e9}" | awk '{d=$2-$1; print (d<$3)?d:$3}')
  done
  echo "$b"
}
copy_pages() {
  find "$work/site" -name 'p*.htm' | while read -r p; do cp "$p" "${p%.htm}_1.htm"; done
}
copy_pages_one_process() {
  cp -r "$work/site" "$work/copy" && rm -rf "$work/copy"
}

j1=$(best "$cli" --home "$work/home" apply "$effect" --recursive "$work/site" --mode copy --jobs 1)
j2=$(best "$cli" --home "$work/home" apply "$effect" --recursive "$work/site" --mode copy --jobs 2)
cp1=$(best copy_pages)
cpr=$(best copy_pages_one_process)
awk -v j1="$j1" -v j2="$j2" -v cp1="$cp1" -v cpr="$cpr" 'BEGIN {
  printf "apply --jobs 1      %8.3f s\n", j1
  printf "apply --jobs 2      %8.3f s   (jobs 1 / jobs 2 = %.2f)\n", j2, j1 / j2
  printf "cp, one per page    %8.3f s   (jobs 1 / cp = %.2f, jobs 2 / cp = %.2f)\n", cp1, j1 / cp1, j2 / cp1
  printf "cp -r of the site   %8.3f s   (jobs 1 / cp -r = %.2f, jobs 2 / cp -r = %.2f)\n", cpr, j1 / cpr, j2 / cpr
}'
