# Sourced by the end-to-end tests, benchmarks and soak scripts: a private Xvfb display and a
# private Wine prefix, both torn down by pigmora_wine_stop (also on exit).
#   pigmora_wine_start <work dir>   sets DISPLAY, WINEPREFIX, PIGMORA_DESKTOP
#   pigmora_wine_run <exe> [args]   runs a Windows program inside the virtual desktop, waits
#   pigmora_wine_stop

# Chinese captions of the standard controls need font linking to the CJK font on a Western
# prefix, as Windows does for its own dialog fonts.
pigmora_prefix_fonts() {
  local reg="$WINEPREFIX/pigmora-fontlink.reg" hex
  hex=$(printf 'wqy-microhei.ttc,WenQuanYi Micro Hei' | od -An -tx1 | tr -s ' \n' ',' | sed 's/^,//; s/,$//')
  {
    echo 'REGEDIT4'
    echo
    echo '[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink]'
    for face in Tahoma "MS Shell Dlg" "MS Shell Dlg 2" "Microsoft Sans Serif" "Segoe UI"; do
      echo "\"$face\"=hex(7):$hex,00,00"
    done
  } > "$reg"
  wine regedit "$reg" >/dev/null 2>&1
}

# A fresh prefix takes a while; it is kept in the build folder and reused.
pigmora_prefix_init() {
  if [ ! -f "$WINEPREFIX/.pigmora-ready" ]; then
    rm -rf "$WINEPREFIX"
    mkdir -p "$WINEPREFIX"
    wineboot -i >/dev/null 2>&1
    wineserver -w
    pigmora_prefix_fonts
    wineserver -w
    touch "$WINEPREFIX/.pigmora-ready"
  fi
}

pigmora_wine_start() {
  local work n
  mkdir -p "$1" && work=$(cd "$1" && pwd)
  export WINEPREFIX="$work/wineprefix"
  export WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml="
  export PIGMORA_DESKTOP="pigmora-$$"
  # Xvfb picks a free display number itself and tells it on a file descriptor: no race
  # with other runs on the same machine. Without -noreset the server would start afresh, the
  # pointer back in the middle, each time its last client leaves.
  local numberFile="$work/display.$$"
  rm -f "$numberFile"
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$numberFile" >/dev/null 2>&1 &
  PIGMORA_XVFB_PID=$!
  trap pigmora_wine_stop EXIT
  local i
  for i in $(seq 1 400); do
    n=$(tr -dc '0-9' < "$numberFile" 2>/dev/null)
    [ -n "$n" ] && break
    kill -0 "$PIGMORA_XVFB_PID" 2>/dev/null || { echo "Xvfb did not start" >&2; return 1; }
    sleep 0.05
  done
  rm -f "$numberFile"
  [ -n "$n" ] || { echo "Xvfb gave no display number" >&2; return 1; }
  export DISPLAY=":$n"
  for i in $(seq 1 200); do
    xdpyinfo >/dev/null 2>&1 && break
    sleep 0.05
  done
  # X's own pointer starts in the middle of the screen, over Pigmora's centred window, and the
  # driver's injected input never moves it. Each time a window appears or goes under it, X
  # reports a movement there and Wine moves the pointer back to the middle, late under load:
  # a drag then ends over the colour block. In the far corner nothing ever comes and goes.
  xdotool mousemove 1279 1023 >/dev/null 2>&1 || echo "xdotool could not park X's pointer" >&2
  pigmora_prefix_init
}

pigmora_wine_run() {
  wine explorer "/desktop=$PIGMORA_DESKTOP,1280x1024" "$@" >/dev/null 2>&1
}

pigmora_wine_stop() {
  if [ -n "${WINEPREFIX:-}" ]; then wineserver -k >/dev/null 2>&1 || true; fi
  if [ -n "${PIGMORA_XVFB_PID:-}" ]; then
    kill "$PIGMORA_XVFB_PID" 2>/dev/null || true
    wait "$PIGMORA_XVFB_PID" 2>/dev/null || true
    PIGMORA_XVFB_PID=
  fi
}
