#!/usr/bin/env bash
# Measures netvane64.exe under Wine and prints the figures (no pass or fail):
#   start-up to ready against a bare-window floor, one refresh, the apply path, with 1, 16 and
#   128 class subkeys seeded, then the executables' sizes (both bitnesses).
#   bash bench/run.sh [rounds, default 9]
# Wine, its server and every program measured run on one CPU (taskset -c 0).
source "$(dirname "${BASH_SOURCE[0]}")/../scripts/lib.sh"

ROUNDS="${1:-9}"
ensure_packages
build_windows
# The benchmark programs build beside the 64-bit test binaries (-posix compilers).
cmake -S "$ROOT" -B "$BUILD/x64-tests" -DNETVANE_BENCH=ON >/dev/null
cmake --build "$BUILD/x64-tests" --target bench_floor bench_probe bench_apply -j"$(nproc)" >/dev/null

BENCH="$BUILD/bench"
mkdir -p "$BENCH"
cp "$BUILD/x64/netvane64.exe" "$BUILD/x64-tests/bench/bench_floor.exe" \
  "$BUILD/x64-tests/bench/bench_probe.exe" "$BUILD/x64-tests/bench/bench_apply.exe" "$BENCH/"
trap 'stop_wine; stop_xvfb' EXIT
start_xvfb
wine_env "$BENCH/wineprefix"
stop_wine
taskset -c 0 wineserver -p >/dev/null 2>&1 || true

# Seeds adapters 0 to $1-1: each passes the scan and shows a static address.
seed() {
  local count=$1 reg="$BENCH/seed.reg" n guid
  local class='HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Control\Class\{4D36E972-E325-11CE-BFC1-08002bE10318}'
  local net='HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Control\Network\{4D36E972-E325-11CE-BFC1-08002BE10318}'
  local tcpip='HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Services\Tcpip\Parameters\Interfaces'
  local multi='hex(7):31,00,30,00,2e,00,30,00,2e,00,30,00,2e,00,35,00,00,00,00,00'
  {
    printf 'Windows Registry Editor Version 5.00\n\n'
    printf '[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\ComputerName\\ComputerName]\n"ComputerName"="BENCH-PC"\n\n'
    printf '[HKEY_LOCAL_MACHINE\\SYSTEM\\ControlSet001\\Control\\ComputerName\\ComputerName]\n"ComputerName"="BENCH-PC"\n\n'
    printf '[HKEY_LOCAL_MACHINE\\SYSTEM\\ControlSet001\\Services\\Tcpip\\Parameters]\n"NV Hostname"="BENCH-PC"\n\n'
    printf '[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon]\n"AutoAdminLogon"="0"\n\n'
    for ((n = 0; n < count; n++)); do
      guid=$(printf '{00000000-0000-0000-0000-%012d}' "$n")
      printf '[%s\\%04d]\n"DriverDesc"="Bench Ethernet %d"\n"NetCfgInstanceId"="%s"\n"MatchingDeviceId"="pci\\\\ven_bench&dev_%d"\n\n' "$class" "$n" "$n" "$guid" "$n"
      printf '[%s\\%04d\\Linkage]\n"UpperBind"=hex(7):54,00,63,00,70,00,69,00,70,00,00,00,00,00\n\n' "$class" "$n"
      printf '[%s\\%04d\\Ndi\\Interfaces]\n"LowerRange"="ethernet"\n\n' "$class" "$n"
      printf '[%s\\%s\\Connection]\n"Name"="Connection %d"\n"PnpInstanceID"="PCI\\\\VEN_BENCH\\\\%d"\n\n' "$net" "$guid" "$n" "$n"
      printf '[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Enum\\PCI\\VEN_BENCH\\%d\\Control]\n"ActiveService"="bench"\n\n' "$n"
      printf '[%s\\%s]\n"EnableDHCP"=dword:00000000\n"IPAddress"=%s\n"SubnetMask"=%s\n"DefaultGateway"=%s\n"NameServer"="10.0.0.1,10.0.0.2"\n\n' \
        "$tcpip" "$guid" "$multi" "$multi" "$multi"
    done
  } >"$reg"
  # Wine keeps no class subkeys of its own for network adapters: the bench's are all there is.
  wine reg delete "HKLM\\${class#HKEY_LOCAL_MACHINE\\}" /f >"$BENCH/seed.log" 2>&1 || true
  # reg.exe reads hex(7) data as UTF-16 only from a UTF-16 file.
  { printf '\xff\xfe'; iconv -f UTF-8 -t UTF-16LE "$reg"; } >"$BENCH/seed-utf16.reg"
  wine reg import "$(winepath -w "$BENCH/seed-utf16.reg")" >>"$BENCH/seed.log" 2>&1
}

figure() { sed -n "s/^$1 //p" "$2" | tr -d '\r'; }

windows_path() { winepath -w "$1" 2>/dev/null; }
rows=""
for count in 1 16 128; do
  seed "$count"
  taskset -c 0 wine "$BENCH/bench_probe.exe" "$ROUNDS" 3 "$(windows_path "$BENCH/bench_floor.exe")" \
    "$(windows_path "$BENCH/netvane64.exe")" >"$BENCH/probe-$count.txt" 2>&1 || {
    cat "$BENCH/probe-$count.txt"
    exit 1
  }
  taskset -c 0 wine "$BENCH/bench_apply.exe" "$ROUNDS" >"$BENCH/apply-$count.txt" 2>&1 || {
    cat "$BENCH/apply-$count.txt"
    exit 1
  }
  floor=$(figure floor "$BENCH/probe-$count.txt")
  netvane=$(figure netvane "$BENCH/probe-$count.txt")
  refresh=$(figure refresh "$BENCH/probe-$count.txt")
  apply=$(figure apply "$BENCH/apply-$count.txt")
  scan=$(figure scan "$BENCH/apply-$count.txt")
  [ "$count" -eq 1 ] && refresh1=$refresh
  per=$([ "$count" -gt 1 ] && awk -v a="$refresh" -v b="$refresh1" -v n="$count" \
    'BEGIN { printf "%.2f ms", (a - b) / (n - 1) }' || echo "-")
  ratio=$(awk -v a="$netvane" -v b="$floor" 'BEGIN { printf "%.2f", a / b }')
  rows+="| $count | $floor ms | $netvane ms | $ratio | $refresh ms | $per | $apply ms | $scan ms |"$'\n'
done

size() { stat -c %s "$1"; }
echo
echo "Wine $(wine --version | sed 's/^wine-//'), $(nproc) CPUs, pinned to CPU 0, $(date -u +%Y-%m-%d), medians of $ROUNDS"
echo
echo "| class subkeys | floor | netvane | ratio | one refresh | refresh per adapter | apply | its scan |"
echo "|---|---|---|---|---|---|---|---|"
printf '%s' "$rows"
echo
echo "| executable | bytes |"
echo "|---|---|"
for exe in x86/netvane.exe x86/tools/devcon/devcon.exe x64/netvane64.exe x64/tools/devcon/devcon.exe \
  x64-tests/bench/bench_floor.exe; do
  echo "| $exe | $(size "$BUILD/$exe") |"
done
