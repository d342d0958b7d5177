#!/usr/bin/env bash
# The full soak under Wine (about half an hour); --scale=0.1 for a shorter one.
#   tools/bench/soak.sh [--scale=F]
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
"$root/scripts/build.sh" >/dev/null
exec bash "$root/tests/e2e/run_e2e.sh" "$root/build/cross/pigmora_soak_bench.exe" \
  "$root/build/cross/pigmora.exe" "$root/build/cross/bench" soak "$@"
