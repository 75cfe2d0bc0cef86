#!/usr/bin/env bash
# Installs what Movarin needs from Debian 12's packages (only what is missing)
# and builds it into build/. Sourced by run.sh and test.sh.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

packages=(
  g++ cmake make pkgconf
  clang libclang-rt-14-dev llvm
  qt6-base-dev qt6-svg-dev libqt6svg6 qt6-qpa-plugins libgl-dev
  libsqlite3-0 sqlite3 libmediainfo0v5
  ffmpeg mplayer
  xvfb xauth trayer x11-utils dbus
  libbenchmark-dev
  fonts-liberation2 fonts-dejavu-core
  dpkg-dev fakeroot file lintian desktop-file-utils appstream xdg-user-dirs
  xdotool openbox imagemagick
)
missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "ok installed" || missing+=("$package")
done
if ((${#missing[@]})); then
  as_root=()
  [ "$(id -u)" -eq 0 ] || as_root=(sudo)
  "${as_root[@]}" apt-get update -q
  DEBIAN_FRONTEND=noninteractive "${as_root[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

# test-sanitizers.sh wants the packages only; it builds folders of its own.
if [ -z "${MOVARIN_PACKAGES_ONLY:-}" ]; then
  cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
  cmake --build build -j2
fi
