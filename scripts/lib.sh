# Shared steps of ./test, ./run and the benchmark scripts: packages, builds,
# a private X display and the Wine prefix. Source it; it defines functions.

FORMREEL_ROOT=${FORMREEL_ROOT:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}
FORMREEL_PREFIX=${FORMREEL_PREFIX:-$FORMREEL_ROOT/build/wine-prefix}

# Debian packages the builds and tests need, a group a line so that each
# addition stands on a line of its own.
FORMREEL_PACKAGES=(
  cmake ninja-build g++ clang libclang-rt-14-dev googletest libbenchmark-dev
  g++-mingw-w64-i686 g++-mingw-w64-x86-64 wine wine64 wine32:i386 fonts-wine
  xvfb xdotool imagemagick x11-apps fonts-wqy-microhei
  # the virtual machine that runs the 32-bit suites where this machine cannot
  qemu-system-x86 debootstrap
  pkg-config libncurses-dev tmux dialog
  # the Debian packages: lintian reads them; dpkg-dev and file let cpack
  # find what they depend on
  lintian dpkg-dev file
  # the manual page, which its test renders
  man-db groff-base
  # the screen reader the spoken tests listen through
  fenrir
  # the terminals formentry is typed into under X, and xmodmap, which gives
  # the letters typed there keys
  xterm rxvt-unicode stterm x11-xserver-utils
  # GTK 4 builds the window module, whose tests read its AT-SPI tree in a
  # D-Bus session, and whose benchmark times zenity and yad beside it
  libgtk-4-dev libxdamage-dev python3-pyatspi at-spi2-core dbus-daemon dbus-bin zenity yad
)

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
    log "configuring the $preset preset (once)"
    cmake --preset "$preset" -S "$FORMREEL_ROOT" >/dev/null || return 1
  fi
  (cd "$FORMREEL_ROOT" && cmake --build --preset "$preset") || return 1
}

FORMREEL_XVFB_PID=""

# Starts a private Xvfb and exports DISPLAY. The server picks a free display
# itself and reports it once it accepts connections (-displayfd), so two
# runs cannot take the same number. No key repeats (-r): on a slow machine
# a typed key can stay down long enough to repeat. No reset when the last
# client leaves (-noreset): a reset undoes the keys a test maps and refuses
# a connection made while it lasts.
start_display() {
  local dir number=""
  dir=$(mktemp -d) || return 1
  mkfifo "$dir/display" || { rm -rf "$dir"; return 1; }
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -r -noreset 3>"$dir/display" >/dev/null 2>&1 &
  FORMREEL_XVFB_PID=$!
  # The read ends with the number, or empty when Xvfb exits first.
  read -r -t 30 number <"$dir/display"
  rm -rf "$dir"
  case $number in
    '' | *[!0-9]*) log "Xvfb did not start"; stop_display; return 1 ;;
  esac
  export DISPLAY=":$number"
}

stop_display() {
  if [ -n "$FORMREEL_XVFB_PID" ]; then
    kill "$FORMREEL_XVFB_PID" 2>/dev/null
    wait "$FORMREEL_XVFB_PID" 2>/dev/null
    FORMREEL_XVFB_PID=""
  fi
}

# Whether this machine runs 32-bit programs: some kernels cannot, and then
# neither the 32-bit Wine loader nor the win32 build can run. Sets
# FORMREEL_RUNS_32BIT to 1 or 0; without 32-bit, "wine" on PATH becomes the
# 64-bit loader (Debian's wrapper would try the 32-bit one and fail).
FORMREEL_RUNS_32BIT=""
choose_wine_loader() {
  if /usr/lib/wine/wine --version >/dev/null 2>&1; then
    FORMREEL_RUNS_32BIT=1
    return 0
  fi
  FORMREEL_RUNS_32BIT=0
  local shim="$FORMREEL_ROOT/build/wine-bin" name
  mkdir -p "$shim"
  for name in wine wine-stable; do
    printf '#!/bin/sh\nexport WINELOADER=/usr/lib/wine/wine64\nexec /usr/lib/wine/wine64 "$@"\n' >"$shim/$name"
    chmod +x "$shim/$name"
  done
  case ":$PATH:" in *":$shim:"*) ;; *) export PATH="$shim:$PATH" ;; esac
  log "this machine cannot run 32-bit programs: Wine runs 64-bit programs only"
}

# Picks the Windows build this machine can run, win32 or (where 32-bit
# programs cannot run) win64, as FORMREEL_WINDOWS_PRESET, and exports its
# build folder as FORMREEL_PROGRAM_DIR unless that names another already.
FORMREEL_WINDOWS_PRESET=""
use_runnable_windows_build() {
  [ -n "$FORMREEL_RUNS_32BIT" ] || choose_wine_loader
  if [ "$FORMREEL_RUNS_32BIT" = 1 ]; then FORMREEL_WINDOWS_PRESET=win32; else FORMREEL_WINDOWS_PRESET=win64; fi
  export FORMREEL_PROGRAM_DIR=${FORMREEL_PROGRAM_DIR:-$FORMREEL_ROOT/build/$FORMREEL_WINDOWS_PRESET}
}

# Set when this shell started the prefix's Wine server, and so must stop it.
FORMREEL_WINE_STARTED=""

# Wine's stand-ins for the Windows faces have no CJK glyphs; linking them
# to a CJK face makes Wine take only the glyphs they lack from it, so Latin
# and Cyrillic text keeps its shapes and widths. Wine looks a link up by the
# name of the face it chose, bold faces by their own. Edit fields draw CJK
# runs in a fallback face of their own choosing ("SimSun"), which Wine
# lacks; a link of that name makes it the CJK face itself.
link_cjk_faces() {
  local face key='HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink'
  for face in "Liberation Sans" "Liberation Sans Bold" "Liberation Mono" "SimSun"; do
    wine reg add "$key" /v "$face" /t REG_MULTI_SZ /d 'wqy-microhei.ttc,WenQuanYi Micro Hei' /f >/dev/null 2>&1
  done
}

# Exports the Wine environment and creates the prefix on first use.
use_wine_prefix() {
  [ -n "$FORMREEL_RUNS_32BIT" ] || choose_wine_loader
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
    link_cjk_faces
    wineserver -w
    touch "$WINEPREFIX/.formreel-ready" "$WINEPREFIX/.formreel-cjk-ready"
  fi
  if [ ! -f "$WINEPREFIX/.formreel-cjk-ready" ]; then
    link_cjk_faces
    # The links are read when the server starts: wait (bounded) for this
    # prefix's server to go by itself rather than ending another run's.
    timeout 60 wineserver -w
    touch "$WINEPREFIX/.formreel-cjk-ready"
  fi
  # One server for the whole run: each program then starts in a fraction of
  # a second instead of bringing a server up and down. It exits with 2 when
  # another run's server is already up; that run stops it, not this one.
  wineserver -p >/dev/null 2>&1 </dev/null
  [ $? = 0 ] && FORMREEL_WINE_STARTED=1
  # Start the prefix's services now, detached from our output: a service
  # started by a test would hold the test's output pipe open.
  wineboot >/dev/null 2>&1 </dev/null
}

# Stops the Wine server this shell started, and with it every program and
# service of the prefix, and waits (at most 30 s) until it has gone.
stop_wine() {
  if [ -n "$FORMREEL_WINE_STARTED" ] && [ -n "${WINEPREFIX:-}" ]; then
    wineserver -k 2>/dev/null
    timeout 30 wineserver -w 2>/dev/null
    FORMREEL_WINE_STARTED=""
  fi
  return 0
}

# The prologue of the scripts that run the program: installs what is
# missing, picks the Windows build this machine can run and builds it. The
# build's own lines go to standard error: a first build takes minutes.
prepare_windows_build() {
  install_packages || return 1
  use_runnable_windows_build
  log "building the $FORMREEL_WINDOWS_PRESET preset in build/$FORMREEL_WINDOWS_PRESET"
  build_preset "$FORMREEL_WINDOWS_PRESET" >&2 || { log "build of $FORMREEL_WINDOWS_PRESET failed"; return 1; }
}

# poll LIMIT COMMAND...: runs COMMAND until it succeeds, for at most LIMIT
# (whole) seconds, pausing POLL_INTERVAL seconds between tries (0.1 unless
# the caller sets it; 0 for none, where a moment is being timed). False
# when the time ran out.
poll() {
  local limit=$1 interval=${POLL_INTERVAL:-0.1} deadline
  shift
  deadline=$((${EPOCHREALTIME/[.,]/} + limit * 1000000))
  until "$@"; do
    [ "${EPOCHREALTIME/[.,]/}" -ge "$deadline" ] && return 1
    [ "$interval" = 0 ] || sleep "$interval"
  done
}

# The Windows program this shell started with start_program, and the exit
# status wait_program saw.
FORMREEL_STARTED_PID=""
FORMREEL_STARTED_STATUS=""

# start_program OUTPUT ERRORS EXE ARGUMENT...: starts EXE under Wine in
# FORMREEL_PROGRAM_DIR (which it names relative to), its standard input
# empty and its output and errors written to the files given. Variables
# assigned on the call (WINEDEBUG=+mci start_program ...) reach it.
start_program() {
  local output=$1 errors=$2
  shift 2
  (cd "$FORMREEL_PROGRAM_DIR" && exec wine "$@" </dev/null >"$output" 2>"$errors") &
  FORMREEL_STARTED_PID=$!
}

# True when no started program is running.
program_ended() { [ -z "$FORMREEL_STARTED_PID" ] || ! kill -0 "$FORMREEL_STARTED_PID" 2>/dev/null; }

# Ends the started program (it only) when it still runs.
stop_program() {
  if [ -n "$FORMREEL_STARTED_PID" ]; then
    kill -9 "$FORMREEL_STARTED_PID" 2>/dev/null
    wait "$FORMREEL_STARTED_PID" 2>/dev/null
    FORMREEL_STARTED_PID=""
  fi
}

# Waits up to $1 seconds for the started program to end and sets
# FORMREEL_STARTED_STATUS to its exit status; stops it when it has not
# ended by then.
wait_program() {
  if ! poll "$1" program_ended; then
    log "the program did not end within $1 seconds: stopping it"
    stop_program
    return 1
  fi
  wait "$FORMREEL_STARTED_PID"
  FORMREEL_STARTED_STATUS=$?
  FORMREEL_STARTED_PID=""
}

# Prints the id of a visible window whose name matches the regular
# expression $1, or fails when there is none. One process a look: the
# benchmark looks without pause while it times a start.
find_window() {
  local ids
  ids=$(xdotool search --onlyvisible --name "$1" 2>/dev/null) && [ -n "$ids" ] || return 1
  echo "${ids%%$'\n'*}"
}

# True once there is a window named by $1 (its id printed) or the started
# program has ended (nothing printed).
window_or_end() { find_window "$1" || program_ended; }

# Waits up to $2 seconds for a visible window whose name matches the
# regular expression $1 and prints its id; fails at once when the started
# program ends first.
wait_window() {
  local name=$1 limit=$2 id
  if id=$(poll "$limit" window_or_end "$name") && [ -n "$id" ]; then
    echo "$id"
    return 0
  fi
  if program_ended; then log "the program ended before a window \"$name\" appeared"
  else log "no window \"$name\" within $limit seconds"; fi
  return 1
}

# Gives window $1 the keyboard focus (there is no window manager).
focus_window() { xdotool windowfocus --sync "$1" >/dev/null 2>&1; }

# Saves a picture of window $1 as the PNG file $2, without time stamps, so
# that the same pixels make the same file.
capture_window() {
  local dump status
  dump=$(mktemp) || return 1
  xwd -silent -id "$1" -out "$dump" 2>/dev/null && convert "xwd:$dump" -define png:exclude-chunk=date,time "$2" 2>/dev/null
  status=$?
  rm -f "$dump"
  return $status
}

# shows_sample_bars PICTURE: true when the picture (of the main window)
# holds the six coloured bars of the sample clip's upper part: more than
# 2000 pixels within 32 of each bar's colour in every channel. Prints each
# bar's count. The one check of the demo and of the program's end-to-end
# tests; it counts from the picture's histogram, so it is quick enough to
# poll with.
shows_sample_bars() {
  convert "$1" -depth 8 -format %c histogram:info:- 2>/dev/null | awk '
    function near(a, c) { return a - c <= 32 && c - a <= 32 }
    BEGIN {
      n = split("yellow 192 192 0 cyan 0 192 192 green 0 192 0 magenta 192 0 192 red 192 0 0 blue 0 0 192", w, " ")
      for (k = 1; k <= n / 4; k++) { name[k] = w[4 * k - 3]; r[k] = w[4 * k - 2]; g[k] = w[4 * k - 1]; b[k] = w[4 * k] }
      bars = n / 4
    }
    # One line a colour: "COUNT: (R,G,B) #RRGGBB name".
    match($0, /\([^)]*\)/) {
      split(substr($0, RSTART + 1, RLENGTH - 2), p, ",")
      for (k = 1; k <= bars; k++)
        if (near(p[1], r[k]) && near(p[2], g[k]) && near(p[3], b[k])) count[k] += $1
    }
    END {
      shown = 1
      for (k = 1; k <= bars; k++) {
        printf "%s %d\n", name[k], count[k]
        if (count[k] <= 2000) shown = 0
      }
      exit !shown
    }'
}

# Stops what a script started: its program, the Wine server (and with it
# the prefix's services) and the private display. For trap ... EXIT.
stop_started() { stop_program; stop_wine; stop_display; }
