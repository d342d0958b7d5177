#!/usr/bin/env bash
# Builds what is missing and runs one benchmark driver (pigmora_<name>_bench.exe) beside
# pigmora.exe in a private Xvfb display and Wine desktop, printing its figures.
#   tools/bench/run.sh <name> [driver arguments...]
# PIGMORA_BUILD_DIR picks the cross build tree (default build/cross).
set -euo pipefail
name=$1
shift
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$(realpath -m "${PIGMORA_BUILD_DIR:-$root/build/cross}")

if [ ! -f "$build/build.ninja" ]; then
  [ -d "$root/build/native/assets" ] || "$root/scripts/build.sh"
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
    -DPIGMORA_ASSET_DIR="$root/build/native/assets" >/dev/null
fi
cmake --build "$build" --target pigmora "pigmora_${name}_bench" >/dev/null

exec bash "$root/tests/e2e/run_e2e.sh" "$build/pigmora_${name}_bench.exe" "$build/pigmora.exe" \
  "$build/bench" "$name" "$@"
