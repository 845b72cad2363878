#!/usr/bin/env bash
# Builds the fuzz targets (clang, libFuzzer, AddressSanitizer and UndefinedBehaviorSanitizer)
# under build/fuzz and runs each for a bounded time from the seed corpora in fuzz/corpus/.
#   bash scripts/fuzz.sh [seconds per target, default 15] [JUnit-style report to write]
# A crash, a sanitizer report or a slow input fails the run; the input is kept under
# build/fuzz/artifacts/. A longer run is the same command with more seconds.
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

SECONDS_EACH="${1:-15}"
REPORT="${2:-}"
PACKAGES+=(clang libclang-rt-14-dev)
ensure_packages

FUZZ="$BUILD/fuzz"
[ -f "$FUZZ/CMakeCache.txt" ] ||
  cmake -S "$ROOT/fuzz" -B "$FUZZ" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ >/dev/null
cmake --build "$FUZZ" -j"$(nproc)" >"$FUZZ.build.log" 2>&1 || {
  tail -30 "$FUZZ.build.log"
  log "fuzz build failed"
  [ -z "$REPORT" ] || { mkdir -p "$(dirname "$REPORT")"; echo '<testsuites tests="4" failures="4" disabled="0" errors="0"></testsuites>' >"$REPORT"; }
  exit 1
}

failures=0
cases=""
mkdir -p "$FUZZ/artifacts"
for target in registry ini checks devcon; do
  corpus="$FUZZ/corpus/$target"  # new finds go here, the seeds in the repository stay as they are
  mkdir -p "$corpus"
  output="$FUZZ/$target.log"
  if "$FUZZ/fuzz_$target" -max_total_time="$SECONDS_EACH" -timeout=10 -rss_limit_mb=2048 \
      -print_final_stats=1 -artifact_prefix="$FUZZ/artifacts/$target-" \
      "$corpus" "$ROOT/fuzz/corpus/$target" >"$output" 2>&1; then
    result="ok"
    cases+="<testcase name=\"$target\"/>"
  else
    result="FAILED (see $output)"
    failures=$((failures + 1))
    cases+="<testcase name=\"$target\"><failure message=\"see $output\"/></testcase>"
    grep -m5 -E 'ERROR|runtime error|SUMMARY|Test unit written' "$output" >&2 || true
  fi
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$output" | tail -1)
  echo "fuzz $target: ${runs:-0} inputs in ${SECONDS_EACH} s, $result"
done
if [ -n "$REPORT" ]; then
  mkdir -p "$(dirname "$REPORT")"
  echo "<testsuites tests=\"4\" failures=\"$failures\" disabled=\"0\" errors=\"0\"><testsuite name=\"fuzz\">$cases</testsuite></testsuites>" >"$REPORT"
fi
[ "$failures" -eq 0 ]
