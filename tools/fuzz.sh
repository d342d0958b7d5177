#!/usr/bin/env bash
# Fuzzes what reads untrusted bytes (typed text, registry paths, picture files) with libFuzzer
# under AddressSanitizer and UBSan, and prints executions and findings per target.
#   tools/fuzz.sh [seconds per target]     (default 300; the test command runs a short form)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-300}
"$root/scripts/deps.sh"

build="$root/build/fuzz"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DPIGMORA_FUZZ=ON >/dev/null
cmake --build "$build" >/dev/null

failed=0
for target in decimal_fuzz registry_path_fuzz image_fuzz; do
  corpus="$build/corpus/$target"
  mkdir -p "$corpus"
  # The program's own pictures and cursors are good seeds for the image readers.
  if [ "$target" = image_fuzz ] && [ -d "$root/build/native/assets" ]; then
    cp -n "$root/build/native/assets"/*.{bmp,gif,cur,ico} "$corpus"/ 2>/dev/null || true
  fi
  log="$build/$target.log"
  if "$build/$target" "$corpus" -max_total_time="$seconds" -print_final_stats=1 \
       -artifact_prefix="$build/$target-" >"$log" 2>&1; then
    result=ok
  else
    result=FOUND
    failed=1
  fi
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
  printf '%-20s %12s executions in %ss: %s\n' "$target" "${runs:-?}" "$seconds" "$result"
  [ "$result" = ok ] || grep -E 'ERROR|SUMMARY|Test unit written' "$log" | head -5
done
exit $failed
