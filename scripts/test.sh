#!/usr/bin/env bash
# Runs every test: the native unit tests (plain and under the sanitizers), a short fuzz run,
# and the end-to-end tests of pigmora.exe under Wine in a private Xvfb display.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/build.sh"

jobs=$(nproc)
echo "== unit tests"
ctest --test-dir "$root/build/native" --output-on-failure -j "$jobs"

if [ -x "$root/scripts/test-hardening.sh" ]; then
  echo "== sanitizers and fuzzing"
  "$root/scripts/test-hardening.sh"
fi

echo "== end-to-end tests under Wine"
ctest --test-dir "$root/build/cross" --output-on-failure
