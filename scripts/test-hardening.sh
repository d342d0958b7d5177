#!/usr/bin/env bash
# The native unit tests again under AddressSanitizer and UndefinedBehaviorSanitizer, and a
# short fuzz run of every fuzz target.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

cmake -S "$root" -B "$root/build/sanitize" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DPIGMORA_SANITIZE=ON >/dev/null
cmake --build "$root/build/sanitize" -j "$(nproc)"
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir "$root/build/sanitize" --output-on-failure -j "$(nproc)"

"$root/tools/fuzz.sh" 20
