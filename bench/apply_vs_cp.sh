#!/usr/bin/env bash
# "Do it" from outside, as a user runs it: pelto-cli apply (copy option) against cp of the
# same page, as whole processes, alternating the commands pair by pair. Prints the median
# time of each and the median of the per-pair ratios. "Do it" flushes what it writes to
# the disk and keeps the replaced copy for undo, which cp does not; for comparison, the
# same against a copy that is flushed too (dd with conv=fsync) is printed as well.
#
#   bash bench/apply_vs_cp.sh BUILD_DIR [SIZE_MB] [PAIRS] [SCRIPTID]
#
# BUILD_DIR is a Release build tree holding pelto/ (pelto-cli and its data). The page is
# SIZE_MB (default 1) of ordinary markup with links, in a temporary folder.
set -euo pipefail

build=${1:?usage: apply_vs_cp.sh BUILD_DIR [SIZE_MB] [PAIRS] [SCRIPTID]}
size_mb=${2:-1}
pairs=${3:-21}
script=${4:-pelto.backtotop}
cli="$build/pelto/pelto-cli"
[[ -x $cli ]] || { echo "no $cli: build pelto-cli and pelto_data first" >&2; exit 2; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# A program folder of our own, so the runs do not touch the build tree's output folder.
cp -r "$build/pelto" "$work/home"
mkdir -p "$work/site"
page="$work/site/index.htm"
{
    printf '<html>\r\n<head>\r\n<title>Bench</title>\r\n</head>\r\n<body class="b">\r\n'
    line='<p>Some <b>ordinary</b> text of a page, with a <a href="x.htm">link</a>.</p>\r\n'
    block=$(for _ in $(seq 1 1000); do printf '%s' "$line"; done)
    bytes=0
    target=$((size_mb * 1048576))
    while ((bytes < target)); do
        printf "$block"
        bytes=$((bytes + ${#block} - 2000))
    done
    printf '</body>\r\n</html>\r\n'
} >"$page"

now() { local t=${EPOCHREALTIME/./}; echo "${t}"; } # microseconds

apply_times=()
cp_times=()
ratios=()
durable_times=()
durable_ratios=()
# One warm-up run of each, so both start with the page and the program in the cache.
"$cli" --home "$work/home" apply "$script" "$page" --mode copy >/dev/null
cp "$page" "$work/site/copy.htm"
for ((i = 0; i < pairs; ++i)); do
    t0=$(now)
    "$cli" --home "$work/home" apply "$script" "$page" --mode copy >/dev/null
    t1=$(now)
    cp "$page" "$work/site/copy.htm"
    t2=$(now)
    dd if="$page" of="$work/site/copy.htm" bs=1M conv=fsync status=none
    t3=$(now)
    a=$((t1 - t0))
    c=$((t2 - t1))
    d=$((t3 - t2))
    durable_times+=("$d")
    durable_ratios+=("$(awk -v a="$a" -v d="$d" 'BEGIN { printf "%.4f", a / d }')")
    apply_times+=("$a")
    cp_times+=("$c")
    ratios+=("$(awk -v a="$a" -v c="$c" 'BEGIN { printf "%.4f", a / c }')")
done

median() { printf '%s\n' "$@" | sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
echo "page: $(stat -c %s "$page") bytes, effect $script, $pairs pairs"
echo "apply median: $(median "${apply_times[@]}") us"
echo "cp median:    $(median "${cp_times[@]}") us"
echo "median ratio (apply / cp, per pair): $(median "${ratios[@]}")"
echo "dd conv=fsync median: $(median "${durable_times[@]}") us"
echo "median ratio (apply / dd conv=fsync, per pair): $(median "${durable_ratios[@]}")"
