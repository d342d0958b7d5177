#!/usr/bin/env bash
# Builds Pigmora if needed and starts it: natively on Windows, under Wine on Linux.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/build.sh" >/dev/null

if [ -z "${DISPLAY:-}" ]; then
  echo "No display: set DISPLAY to an X display (for example, start 'Xvfb :1 &' and use DISPLAY=:1)." >&2
  exit 1
fi
. "$root/tests/e2e/wine_env.sh"
export WINEPREFIX="$root/build/wineprefix-run" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
pigmora_prefix_init
exec wine "$root/build/cross/pigmora.exe"
