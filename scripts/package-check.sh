#!/usr/bin/env bash
# Builds Pelto's Debian package from a Release build (build-package/), installs it on this
# machine with apt-get, checks it the way a user meets it, and removes it again:
#   pelto-cli lists the installed library and applies an effect into the user's data
#   folder; the desktop entry, AppStream data and icons are in place and valid; pelto
#   starts on the offscreen platform and its main window appears (pelto --start-check);
#   nothing below /usr changes while a user works. The user is "nobody" with a temporary
#   home folder when this runs as root, else the calling user with a temporary HOME.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
build=build-package
app_id=com.norvale.Pelto

launcher=()
if command -v ccache >/dev/null 2>&1; then launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache); fi
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DPELTO_TESTS=OFF -DPELTO_BENCH=OFF \
  -DCMAKE_INSTALL_PREFIX=/usr "${launcher[@]}" >/dev/null
cmake --build "$build" -j"$(nproc)"
rm -rf "$build/package"
(cd "$build" && cpack -G DEB >/dev/null)
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
deb=$(ls "$build"/package/pelto_"$version"_*.deb)
echo "package: $deb"
dpkg-deb --field "$deb" Depends
contents=$(dpkg-deb --contents "$deb")
grep -q "usr/share/man/man1/pelto-cli.1" <<<"$contents" ||
  { echo "the package lacks the manual page" >&2; exit 1; }
grep -q "usr/lib/.*pelto/pelto-preview.so" <<<"$contents" ||
  { echo "the package lacks the preview engine plugin" >&2; exit 1; }

work=$(mktemp -d /tmp/pelto-package-check.XXXXXX)
chmod 755 "$work"
installed=0
cleanup() {
  if [ "$installed" = 1 ]; then
    $SUDO apt-get remove -y -qq pelto >/dev/null || echo "could not remove the package" >&2
  fi
  rm -rf "$work"
}
trap cleanup EXIT

(cd "$build/package" && $SUDO apt-get install -y -qq -o DPkg::Lock::Timeout=300 ./pelto_*.deb >/dev/null)
installed=1

snapshot() {
  find /usr/bin/pelto /usr/bin/pelto-cli /usr/share/pelto /usr/share/applications/$app_id.desktop \
    /usr/share/metainfo/$app_id.metainfo.xml -printf '%p %y %s %m %T@\n' | sort
  find /usr/share/pelto -type f -exec sha256sum {} + | sort
}
snapshot >"$work/before"

home="$work/home"
mkdir -p "$home"
if [ "$(id -u)" -eq 0 ]; then
  chown nobody:nogroup "$home"
  as_user() { setpriv --reuid=nobody --regid=nogroup --clear-groups \
    env -u XDG_DATA_HOME -u XDG_CONFIG_HOME HOME="$home" "$@"; }
else
  as_user() { env -u XDG_DATA_HOME -u XDG_CONFIG_HOME HOME="$home" "$@"; }
fi
fail() { echo "package check: $*" >&2; exit 1; }
user_data="$home/.local/share/Pelto"

[ "$(as_user pelto-cli --version)" = "pelto-cli $version" ] || fail "pelto-cli --version"
[[ "$(as_user pelto-cli --help)" == "usage: pelto-cli"* ]] || fail "pelto-cli --help"

as_user pelto-cli list >"$work/list"
effects=$(wc -l <"$work/list")
headers=$(find /usr/share/pelto/data -name '*.hdr' | wc -l)
[ "$effects" -gt 0 ] && [ "$effects" = "$headers" ] ||
  fail "pelto-cli list shows $effects effects, the installed library has $headers"
echo "pelto-cli list: $effects effects"

id=$(head -n1 "$work/list" | cut -f2)
as_user mkdir -p "$home/site"
as_user cp /usr/share/pelto/sample.htm "$home/site/index.htm"
result=$(as_user pelto-cli apply "$id" "$home/site/index.htm")
[ "$result" = "$user_data/output/result.htm" ] || fail "apply wrote \"$result\""
[[ "$(head -n1 "$result")" == *"$id"* ]] || fail "$result does not name $id in its first line"
[ -d "$user_data/userdata" ] || fail "no templates folder in $user_data"
cmp -s /usr/share/pelto/sample.htm "$user_data/sample.htm" || fail "no sample page copy in $user_data"
echo "pelto-cli apply $id: $result"

desktop-file-validate "/usr/share/applications/$app_id.desktop"
if command -v appstreamcli >/dev/null 2>&1; then
  appstreamcli validate --no-net "/usr/share/metainfo/$app_id.metainfo.xml" >/dev/null
fi
for size in 16 22 24 32 48 64 128 256; do
  [[ "$(file "/usr/share/icons/hicolor/${size}x${size}/apps/$app_id.png")" == *"PNG image data, $size x $size,"* ]] ||
    fail "no ${size}x${size} icon"
done

# Start the program the way the menu entry does.
exec_line=$(sed -n 's/^Exec=//p' "/usr/share/applications/$app_id.desktop")
title=$(as_user env QT_QPA_PLATFORM=offscreen timeout 60 $exec_line --start-check) ||
  fail "\"$exec_line\" did not show its main window (exit $?)"
[ "$title" = "Select Script Category" ] || fail "main window title \"$title\""
echo "$exec_line: main window \"$title\""

snapshot >"$work/after"
cmp -s "$work/before" "$work/after" || { diff "$work/before" "$work/after" >&2; fail "files below /usr changed"; }
echo "package check passed"
