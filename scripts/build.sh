#!/usr/bin/env bash
# Builds the native tree (unit tests, asset generator) and pigmora.exe (cross, MinGW-w64).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/deps.sh"

jobs=$(nproc)
cmake -S "$root" -B "$root/build/native" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$root/build/native" -j "$jobs"
cmake -S "$root" -B "$root/build/cross" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
  -DPIGMORA_ASSET_DIR="$root/build/native/assets" >/dev/null
cmake --build "$root/build/cross" -j "$jobs"
