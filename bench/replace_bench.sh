#!/usr/bin/env bash
# Changing an effect's values over a whole site against applying it there in the first
# place: pelto-cli apply --replace over PAGES pages (each edited by hand after the first
# apply) against a plain apply over the same number of fresh pages, and a remove over the
# site. Also prints what the records of applied effects cost per page.
#
#   bash bench/replace_bench.sh BUILD_DIR [PAGES] [SCRIPTID] [JOBS] [NAME=VALUE]
#
# BUILD_DIR is a Release build tree holding pelto/ (pelto-cli and its data). Pages are
# ordinary pages of about 6 KB, in a temporary folder.
set -euo pipefail

build=${1:?usage: replace_bench.sh BUILD_DIR [PAGES] [SCRIPTID] [JOBS] [NAME=VALUE]}
pages=${2:-1000}
script=${3:-pelto.noticebar}
value=${5:-Button text=Fine} # a --set NAME=VALUE the effect has
jobs=${4:-2}
cli="$build/pelto/pelto-cli"
[[ -x $cli ]] || { echo "no $cli: build pelto-cli and pelto_data first" >&2; exit 2; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp -r "$build/pelto" "$work/home"
make_site() {
    local dir=$1
    mkdir -p "$dir"
    local body=''
    for _ in $(seq 1 60); do
        body+='<p>Some <b>ordinary</b> text of a page, with a <a href="x.htm">link</a>.</p>'$'\r\n'
    done
    for ((k = 0; k < pages; ++k)); do
        printf '<html>\r\n<head>\r\n<title>Page %d</title>\r\n</head>\r\n<body>\r\n%s</body>\r\n</html>\r\n' \
            "$k" "$body" >"$dir/p$k.htm"
    done
}
now() { local t=${EPOCHREALTIME/./}; echo "${t}"; } # microseconds
# Notes on stderr (a page waiting for its folder while another job writes there) are kept
# out of the figures.
run() { "$cli" --home "$work/home" "$@" >/dev/null 2>>"$work/notes"; }

make_site "$work/site"
make_site "$work/fresh"
run apply "$script" --recursive "$work/site" --mode overwrite --yes --jobs "$jobs"
# The user's edit on every page: a paragraph of their own.
sed -i 's|<body>|<body>\r\n<p>mine</p>|' "$work/site"/*.htm

t0=$(now)
run apply "$script" --recursive "$work/fresh" --mode overwrite --yes --jobs "$jobs"
t1=$(now)
run apply "$script" --recursive "$work/site" --replace --jobs "$jobs" --set "$value"
t2=$(now)
records=$(du -sb --apparent-size "$work/home/userdata/applied" | cut -f1)
run remove "$script" --recursive "$work/site" --jobs "$jobs"
t3=$(now)
grep -qF "${value#*=}" "$work/site/p0.htm" && { echo "the effect is still on the page" >&2; exit 1; }

page_bytes=$(stat -c %s "$work/fresh/p0.htm")
echo "pages: $pages of $page_bytes bytes with $script, $jobs jobs"
printf 'plain apply:  %8.3f s\n' "$(echo "($t1 - $t0) / 1000000" | bc -l)"
printf 'replace:      %8.3f s  (%.2f x the plain apply)\n' "$(echo "($t2 - $t1) / 1000000" | bc -l)" \
    "$(echo "($t2 - $t1) / ($t1 - $t0)" | bc -l)"
printf 'remove:       %8.3f s\n' "$(echo "($t3 - $t2) / 1000000" | bc -l)"
echo "records of applied effects: $records bytes for $((2 * pages)) page records" \
    "(the site's pages with two applications each, the fresh pages with one):" \
    "$((records / (2 * pages))) bytes per page on average"
