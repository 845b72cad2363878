#!/usr/bin/env bash
# Installs what is missing, builds both trees and runs every test: the native suite, then the
# Windows test binaries under Wine (with a virtual display) and the end-to-end cases.
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

ensure_packages
log "native build"
build_native
log "Windows build"
build_windows

rm -rf "$BUILD/native/results"
status=0
log "native tests"
(cd "$BUILD/native" && ctest --output-on-failure) || status=1
log "fuzzing, 15 s per target"
bash "$ROOT/scripts/fuzz.sh" 15 "$BUILD/native/results/fuzz.xml" || status=1

# Each bitness in its own Wine prefix: the 64-bit ring in a 64-bit Windows, the 32-bit ring in a
# 32-bit one (WINEARCH=win32), as on the PCs each program is for.
trap 'stop_wine; stop_xvfb' EXIT
start_xvfb
for bitness in "${WINDOWS_BITNESSES[@]}"; do
  log "Windows tests under Wine ($bitness)"
  rm -rf "$BUILD/$bitness-tests/results"
  arch=win64
  [ "$bitness" != x86 ] || arch=win32
  wine_env "$BUILD/$bitness-tests/wineprefix" "$arch"
  (cd "$BUILD/$bitness-tests" && ctest --output-on-failure) || status=1
  stop_wine
done

# One closing line over every suite, counted from the test binaries' own reports.
passed=0
failed=0
for report in "$BUILD"/native/results/*.xml "$BUILD"/x86-tests/results/*.xml \
  "$BUILD"/x64-tests/results/*.xml; do
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
