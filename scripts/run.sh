#!/usr/bin/env bash
# Installs what is missing, builds the 64-bit program (netvane64.exe) and starts it under Wine on
# a demo registry.
# With DISPLAY set it opens on that display; otherwise it runs under Xvfb, saves a screenshot
# into the build folder and exits.
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

ensure_packages
build_program x64
trap 'stop_wine; stop_xvfb' EXIT
if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  own_display=""
else
  own_display=yes
  start_xvfb
fi
wine_env "$BUILD/demo/wineprefix"
"$ROOT/scripts/seed-demo.sh" "$BUILD/demo"
cp "$BUILD/x64/netvane64.exe" "$BUILD/demo/netvane64.exe"

if [ -z "$own_display" ]; then
  wine "$BUILD/demo/netvane64.exe"
else
  wine "$BUILD/demo/netvane64.exe" >"$BUILD/demo/wine-output.txt" 2>&1 &
  for _ in $(seq 100); do
    xdotool search --name "Netvane V1.0" >/dev/null 2>&1 && break
    sleep 0.2
  done
  sleep 2
  import -window root "$BUILD/demo/netvane.png"
  log "screenshot: $BUILD/demo/netvane.png"
  wineserver -k >/dev/null 2>&1 || true
fi
