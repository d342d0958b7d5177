#!/usr/bin/env bash
# Magnifier frame rate and memory under Wine: builds what is missing, runs the benchmark in a
# private Xvfb display and Wine desktop, and prints its figures.
#   tools/bench/magnifier.sh [--frames=N] [--soak=N] [--positions=1,5,10,16,30] [--input=x11|sendinput]
# PIGMORA_BUILD_DIR picks the cross build tree (default build/cross).
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$(realpath -m "${PIGMORA_BUILD_DIR:-$root/build/cross}")

if [ ! -f "$build/build.ninja" ]; then
  [ -d "$root/build/native/assets" ] || "$root/scripts/build.sh"
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
    -DPIGMORA_ASSET_DIR="$root/build/native/assets" >/dev/null
fi
cmake --build "$build" --target pigmora pigmora_magnifier_bench >/dev/null

exec bash "$root/tests/e2e/run_e2e.sh" "$build/pigmora_magnifier_bench.exe" "$build/pigmora.exe" \
  "$build/bench" magnifier "$@"
