#!/usr/bin/env bash
# Runs the end-to-end driver in a private Xvfb display and Wine desktop.
#   run_e2e.sh <pigmora_e2e.exe> <pigmora.exe> <work dir> <name> [driver arguments...]
set -uo pipefail
driver=$1 program=$2 name=$4
mkdir -p "$3" && work=$(cd "$3" && pwd)
shift 4
here=$(cd "$(dirname "$0")" && pwd)
. "$here/wine_env.sh"

pigmora_wine_start "$work" || exit 1
artifacts="$work/artifacts"
mkdir -p "$artifacts"
log="$work/$name.log"
rm -f "$log"

timeout 800 wine explorer "/desktop=$PIGMORA_DESKTOP,1280x1024" "$driver" \
  "--pigmora=$(winepath -w "$program")" "--artifacts=$(winepath -w "$artifacts")" \
  "--log=$(winepath -w "$log")" "$@" >/dev/null 2>&1
# explorer may hand the driver over and return early: wait for the driver's last line, or
# for the driver to be gone without writing it.
driverName=$(basename "$driver")
for _ in $(seq 1 16000); do
  grep -q '^PIGMORA_E2E_EXIT=' "$log" 2>/dev/null && break
  if ! pgrep -f "$driverName" >/dev/null; then
    sleep 1
    break
  fi
  sleep 0.05
done
pigmora_wine_stop

# Screenshots as PNG, for people to look at.
if command -v convert >/dev/null; then
  for bmp in "$artifacts"/*.bmp; do
    [ -e "$bmp" ] || continue
    convert "$bmp" "${bmp%.bmp}.png" && rm -f "$bmp"
  done
fi

[ -f "$log" ] && tr -d '\r' < "$log"
code=$(sed -n 's/^PIGMORA_E2E_EXIT=\([0-9]*\).*/\1/p' "$log" 2>/dev/null | tr -d '\r' | tail -n 1)
if [ -z "$code" ]; then
  echo "the driver did not finish (no exit line in $log)"
  exit 1
fi
exit "$code"
