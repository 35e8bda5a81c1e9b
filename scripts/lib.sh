# Shared steps of ./test, ./run and the benchmark scripts: packages, builds,
# a private X display and the Wine prefix. Source it; it defines functions.

FORMREEL_ROOT=${FORMREEL_ROOT:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}
FORMREEL_PREFIX="$FORMREEL_ROOT/build/wine-prefix"

# Debian packages the builds and tests need.
FORMREEL_PACKAGES=(cmake ninja-build g++ clang libclang-rt-14-dev googletest libbenchmark-dev
  g++-mingw-w64-i686 g++-mingw-w64-x86-64 wine wine64 wine32:i386 fonts-wine xvfb xdotool imagemagick
  x11-apps)

log() { printf '%s\n' "$*" >&2; }

as_root() {
  if [ "$(id -u)" = 0 ]; then "$@"; elif command -v sudo >/dev/null; then sudo "$@"; else
    log "need root (or sudo) to run: $*"; return 1; fi
}

# Installs whatever of FORMREEL_PACKAGES is missing.
install_packages() {
  local missing=() p
  for p in "${FORMREEL_PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  log "installing: ${missing[*]}"
  if printf '%s\n' "${missing[@]}" | grep -q ':i386$' && ! dpkg --print-foreign-architectures | grep -qx i386; then
    as_root dpkg --add-architecture i386
  fi
  as_root env DEBIAN_FRONTEND=noninteractive apt-get update -q >/dev/null
  as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -q "${missing[@]}" </dev/null >/dev/null
}

# Configures (once) and builds one preset: the targets its build preset
# names, or everything.
build_preset() {
  local preset=$1
  if [ ! -f "$FORMREEL_ROOT/build/$preset/build.ninja" ]; then
    cmake --preset "$preset" -S "$FORMREEL_ROOT" >/dev/null || return 1
  fi
  (cd "$FORMREEL_ROOT" && cmake --build --preset "$preset") || return 1
}

FORMREEL_XVFB_PID=""

# Starts a private Xvfb on a free display and exports DISPLAY.
start_display() {
  local n=90
  while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
  Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
  FORMREEL_XVFB_PID=$!
  export DISPLAY=":$n"
  local tries=0
  until xdotool getdisplaygeometry >/dev/null 2>&1; do
    tries=$((tries + 1))
    if [ $tries -gt 100 ] || ! kill -0 "$FORMREEL_XVFB_PID" 2>/dev/null; then
      log "Xvfb did not start on :$n"; return 1
    fi
    sleep 0.1
  done
}

stop_display() {
  if [ -n "$FORMREEL_XVFB_PID" ]; then
    kill "$FORMREEL_XVFB_PID" 2>/dev/null
    wait "$FORMREEL_XVFB_PID" 2>/dev/null
    FORMREEL_XVFB_PID=""
  fi
}

# Exports the Wine environment and creates the prefix on first use.
use_wine_prefix() {
  export WINEPREFIX="$FORMREEL_PREFIX"
  export WINEDEBUG=${WINEDEBUG:--all}
  export WINEDLLOVERRIDES="mscoree,mshtml=d"
  if [ ! -f "$WINEPREFIX/.formreel-ready" ]; then
    log "creating the Wine prefix in $WINEPREFIX (once)"
    mkdir -p "$WINEPREFIX"
    wineboot -i >/dev/null 2>&1
    # Without a window manager, unmanaged windows are destroyed at once
    # instead of after a long wait; keyboard focus behaves the same.
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
    wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
    wineserver -w
    touch "$WINEPREFIX/.formreel-ready"
  fi
  # One server for the whole run: each program then starts in a fraction of
  # a second instead of bringing a server up and down.
  wineserver -p >/dev/null 2>&1 </dev/null
  # Start the prefix's services now, detached from our output: a service
  # started by a test would hold the test's output pipe open.
  wineboot >/dev/null 2>&1 </dev/null
}

stop_wine() {
  [ -n "${WINEPREFIX:-}" ] && wineserver -k 2>/dev/null
  return 0
}
