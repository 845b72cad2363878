#!/usr/bin/env bash
# Runs the end-to-end ring alone, for both bitnesses: builds the Windows trees, then the driver
# starts the real program under Wine on a virtual display. The reports are
# build/<x86|x64>-tests/results/e2e.xml.
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

ensure_packages
log "Windows build"
build_windows

trap 'stop_wine; stop_xvfb' EXIT
start_xvfb
status=0
passed=0
failed=0
for bitness in "${WINDOWS_BITNESSES[@]}"; do
  dir="$BUILD/$bitness-tests"
  rm -f "$dir/results/e2e.xml"
  arch=win64
  [ "$bitness" != x86 ] || arch=win32
  wine_env "$dir/wineprefix" "$arch"
  (cd "$dir" && ctest --output-on-failure --no-tests=error -R '^e2e$') || status=1
  stop_wine
  report="$dir/results/e2e.xml"
  if [ -f "$report" ]; then
    read -r tests failures disabled errors < <(
      sed -n 's/.*<testsuites tests="\([0-9]*\)" failures="\([0-9]*\)" disabled="\([0-9]*\)" errors="\([0-9]*\)".*/\1 \2 \3 \4/p' "$report" | head -1)
    passed=$((passed + tests - failures - errors - disabled))
    failed=$((failed + failures + errors))
  else
    echo "no report: $report"
    status=1
  fi
done
echo "${passed} passed, ${failed} failed"
[ "$failed" -eq 0 ] || status=1
exit "$status"
