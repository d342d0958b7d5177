#!/usr/bin/env bash
# Installs every Debian package that building, running and testing Pigmora needs.
set -euo pipefail

packages=(
  cmake ninja-build g++ libgtest-dev libgmock-dev       # native build and unit tests
  clang libclang-rt-14-dev                               # fuzzers and sanitizers
  g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64   # pigmora.exe
  wine wine64                                            # running it here
  xvfb x11-utils imagemagick fonts-wqy-microhei fonts-wine  # display, screenshots, glyphs
  xdotool                                                # the tests and benchmarks move X's pointer
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -ne 0 ]; then
  echo "Missing packages: ${missing[*]}. Run this script as root (it uses apt-get)." >&2
  exit 1
fi
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
