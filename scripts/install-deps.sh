#!/usr/bin/env bash
# Installs what building, running and testing Pelto needs on Debian 12.
set -euo pipefail
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools libgl-dev fonts-dejavu-core
  fonts-noto-cjk
  qt6-webengine-dev
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  clang nettle-dev
  xvfb xauth
  chromium
  firefox-esr webkit2gtk-driver
  desktop-file-utils appstream dpkg-dev file
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
# Node.js may come from elsewhere than Debian (with its own npm); install Debian's only when
# there is none, since its npm package conflicts with such a node.
command -v node >/dev/null 2>&1 || missing+=(nodejs)
command -v npm >/dev/null 2>&1 || missing+=(npm)
if [ "${#missing[@]}" -gt 0 ]; then
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
