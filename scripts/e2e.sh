#!/usr/bin/env bash
# Runs the end-to-end ring alone: builds the Windows tree, then the driver starts the real
# netvane.exe under Wine on a virtual display. The report is build/win/results/e2e.xml, the
# screenshots build/win/results/screens/*.bmp (and .png beside them).
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

ensure_packages
log "Windows build"
build_windows

rm -rf "$BUILD/win/results/e2e.xml" "$BUILD/win/results/screens"
trap 'stop_wine; stop_xvfb' EXIT
start_xvfb
wine_env "$BUILD/win/wineprefix"
status=0
(cd "$BUILD/win" && ctest --output-on-failure --no-tests=error -R '^e2e$') || status=1

for screen in "$BUILD"/win/results/screens/*.bmp; do
  [ -f "$screen" ] && convert "$screen" "${screen%.bmp}.png" 2>/dev/null || true
done
report="$BUILD/win/results/e2e.xml"
if [ -f "$report" ]; then
  read -r tests failures disabled errors < <(
    sed -n 's/.*<testsuites tests="\([0-9]*\)" failures="\([0-9]*\)" disabled="\([0-9]*\)" errors="\([0-9]*\)".*/\1 \2 \3 \4/p' "$report" | head -1)
  failed=$((failures + errors))
  echo "$((tests - failed - disabled)) passed, ${failed} failed"
  [ "$failed" -eq 0 ] || status=1
else
  echo "no report: $report"
  status=1
fi
exit "$status"
