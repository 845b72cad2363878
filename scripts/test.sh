#!/usr/bin/env bash
# Installs what is missing, builds both trees and runs every test: the native suite, then the
# Windows test binaries under Wine (with a virtual display) and the end-to-end cases.
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

ensure_packages
log "native build"
build_native
log "Windows build"
build_windows

rm -rf "$BUILD/native/results" "$BUILD/win/results"
status=0
log "native tests"
(cd "$BUILD/native" && ctest --output-on-failure) || status=1
log "fuzzing, 15 s per target"
bash "$ROOT/scripts/fuzz.sh" 15 "$BUILD/native/results/fuzz.xml" || status=1

log "Windows tests under Wine"
trap 'stop_wine; stop_xvfb' EXIT
start_xvfb
wine_env "$BUILD/win/wineprefix"
(cd "$BUILD/win" && ctest --output-on-failure) || status=1

# One closing line over every suite, counted from the test binaries' own reports.
passed=0
failed=0
for report in "$BUILD"/native/results/*.xml "$BUILD"/win/results/*.xml; do
  [ -f "$report" ] || { status=1; continue; }
  tests=0 failures=0 errors=0 disabled=0
  read -r tests failures errors disabled < <(
    sed -n 's/.*<testsuites tests="\([0-9]*\)" failures="\([0-9]*\)" disabled="\([0-9]*\)" errors="\([0-9]*\)".*/\1 \2 \4 \3/p' "$report" | head -1) || status=1
  passed=$((passed + tests - failures - errors - disabled))
  failed=$((failed + failures + errors))
done
[ "$failed" -eq 0 ] || status=1
echo "${passed} passed, ${failed} failed"
exit "$status"
