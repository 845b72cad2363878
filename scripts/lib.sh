# Shared set-up for the project's scripts: Debian packages, the zh_CN locale, the two builds,
# the Wine prefix and a virtual display. Sourced, not run.
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD="${NETVANE_BUILD:-$ROOT/build}"
PACKAGES=(cmake make g++ googletest libgtest-dev libbenchmark-dev g++-mingw-w64-x86-64-posix
          wine wine64 xvfb xauth x11-utils xdotool imagemagick locales fonts-wqy-microhei)

log() { printf '== %s\n' "$*" >&2; }

ensure_packages() {
  local missing=()
  for package in "${PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' ||
      missing+=("$package")
  done
  if ((${#missing[@]})); then
    log "installing ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends \
      "${missing[@]}" >/dev/null
  fi
  if ! locale -a 2>/dev/null | grep -qi '^zh_CN\.utf-\?8$'; then
    log "generating the zh_CN.UTF-8 locale"
    local sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    $sudo sed -i 's/^# *\(zh_CN.UTF-8 UTF-8\)/\1/' /etc/locale.gen
    grep -q '^zh_CN.UTF-8 UTF-8' /etc/locale.gen || echo 'zh_CN.UTF-8 UTF-8' | $sudo tee -a /etc/locale.gen >/dev/null
    $sudo locale-gen >/dev/null
  fi
}

build_native() {
  [ -f "$BUILD/native/CMakeCache.txt" ] ||
    cmake -S "$ROOT" -B "$BUILD/native" -DCMAKE_BUILD_TYPE=Debug >/dev/null
  cmake --build "$BUILD/native" -j"$(nproc)"
}

build_windows() {
  [ -f "$BUILD/win/CMakeCache.txt" ] ||
    cmake -S "$ROOT" -B "$BUILD/win" -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-w64-x86_64.cmake" >/dev/null
  cmake --build "$BUILD/win" -j"$(nproc)"
}

# Wine with a private prefix, code page 936 and no prompts for Mono or Gecko.
wine_env() {
  export WINEPREFIX="$1" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" LANG=zh_CN.UTF-8
  export WINEARCH=win64
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    log "creating the Wine prefix $WINEPREFIX"
    mkdir -p "$WINEPREFIX"
    wineboot -i >"$WINEPREFIX.boot.log" 2>&1 || true
    wineserver -w
  fi
  # Wine draws the window frames itself: screenshots show captions without a window manager,
  # and closing a window does not wait for one.
  if ! grep -q '"Managed"="N"' "$WINEPREFIX/user.reg" 2>/dev/null; then
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >>"$WINEPREFIX.boot.log" 2>&1 || true
    wineserver -w
  fi
  # One persistent server for the whole run: starting Wine per test costs seconds.
  wineserver -p >/dev/null 2>&1 || true
}

stop_wine() { wineserver -k >/dev/null 2>&1 || true; }

# A private X display for windows when none is given (or when asked to ignore it).
start_xvfb() {
  local display
  for display in $(seq 91 120); do
    [ -e "/tmp/.X11-unix/X$display" ] || [ -e "/tmp/.X$display-lock" ] || break
  done
  Xvfb ":$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
  XVFB_PID=$!
  export DISPLAY=":$display"
  for _ in $(seq 50); do
    xdpyinfo >/dev/null 2>&1 && return 0
    sleep 0.1
  done
  log "Xvfb did not start"
  return 1
}

stop_xvfb() { [ -z "${XVFB_PID:-}" ] || kill "$XVFB_PID" 2>/dev/null || true; }
