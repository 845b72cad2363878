# Shared set-up for the project's scripts: Debian packages, the zh_CN locale, the two builds,
# the Wine prefix and a virtual display. Sourced, not run.
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD="${NETVANE_BUILD:-$ROOT/build}"
# The shipped programs come from the -win32 thread-model compilers (their runtime imports
# nothing newer than Windows XP); the test binaries from the -posix ones (GoogleTest needs
# std::mutex). wine32 runs the 32-bit build.
PACKAGES=(cmake make g++ googletest libgtest-dev libbenchmark-dev
          g++-mingw-w64-x86-64-posix g++-mingw-w64-x86-64-win32
          g++-mingw-w64-i686-posix g++-mingw-w64-i686-win32
          wine wine64 wine32:i386 xvfb xauth x11-utils xdotool imagemagick locales fonts-wqy-microhei)

log() { printf '== %s\n' "$*" >&2; }

ensure_packages() {
  local missing=()
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    log "adding the i386 architecture (for 32-bit Wine)"
    local sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    $sudo dpkg --add-architecture i386
  fi
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

# The Windows builds, one pair per bitness (x86, x64): build/<bitness> holds the shipped
# program from the -win32 compilers (netvane.exe, netvane64.exe), build/<bitness>-tests the test
# binaries from the -posix compilers, which check that program.
WINDOWS_BITNESSES=(x86 x64)

toolchain_of() {
  case "$1" in
    x86) echo "$ROOT/cmake/mingw-w64-i686.cmake" ;;
    x64) echo "$ROOT/cmake/mingw-w64-x86_64.cmake" ;;
  esac
}

# The shipped program of one bitness, with the devcon.exe it carries.
build_program() {
  local dir="$BUILD/$1"
  [ -f "$dir/CMakeCache.txt" ] ||
    cmake -S "$ROOT" -B "$dir" -DCMAKE_BUILD_TYPE=Release -DNETVANE_TESTS=OFF \
      -DNETVANE_THREADS=win32 -DCMAKE_TOOLCHAIN_FILE="$(toolchain_of "$1")" >/dev/null
  cmake --build "$dir" -j"$(nproc)"
}

# The Windows test binaries of one bitness. The 64-bit ring also runs the 32-bit program, which
# must refuse to work under WOW64.
build_windows_tests() {
  local dir="$BUILD/$1-tests" extra=()
  [ "$1" != x64 ] || extra=(-DNETVANE_WOW64_EXE="$BUILD/x86/netvane.exe")
  [ -f "$dir/CMakeCache.txt" ] ||
    cmake -S "$ROOT" -B "$dir" -DCMAKE_BUILD_TYPE=Release -DNETVANE_THREADS=posix \
      -DNETVANE_PROGRAMS_DIR="$BUILD/$1" "${extra[@]}" \
      -DCMAKE_TOOLCHAIN_FILE="$(toolchain_of "$1")" >/dev/null
  cmake --build "$dir" -j"$(nproc)"
}

build_windows() {
  local bitness
  for bitness in "${WINDOWS_BITNESSES[@]}"; do build_program "$bitness"; done
  for bitness in "${WINDOWS_BITNESSES[@]}"; do build_windows_tests "$bitness"; done
}

# Wine with a private prefix, code page 936 and no prompts for Mono or Gecko.
# The second argument is the prefix's kind: win64 (the default; 32-bit programs run there under
# WOW64) or win32, a 32-bit Windows.
wine_env() {
  export WINEPREFIX="$1" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" LANG=zh_CN.UTF-8
  export WINEARCH="${2:-win64}"
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    log "creating the Wine prefix $WINEPREFIX ($WINEARCH)"
    mkdir -p "$WINEPREFIX"
    wineboot -i >"$WINEPREFIX.boot.log" 2>&1 || true
    wineserver -w
  elif [ "$WINEARCH" = win64 ] && [ ! -f "$WINEPREFIX/drive_c/windows/syswow64/kernel32.dll" ]; then
    # Made before 32-bit Wine was installed: add the 32-bit system folder.
    log "updating the Wine prefix $WINEPREFIX for 32-bit programs"
    wineboot -u >>"$WINEPREFIX.boot.log" 2>&1 || true
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
