# Steps of the headless demo (./run without DISPLAY) and of
# scripts/demo-pictures: start the program under Wine with the media trace
# on, wait for its windows, type into them, take pictures, and report the
# command strings it sent. Source it after scripts/lib.sh and call
# prepare_windows_build first: the program is the one in
# FORMREEL_PROGRAM_DIR. It defines functions.

DEMO_DIR="$FORMREEL_ROOT/build/demo"

# Starts formreel.exe in its build folder; its trace goes to $1.
demo_start_program() { WINEDEBUG=+mci start_program /dev/null "$1" formreel.exe; }

# True when the file $1 holds the text $2.
file_holds() { grep -qF -- "$2" "$1" 2>/dev/null; }

# Waits up to $3 seconds for the text $2 to appear in the file $1.
demo_wait_text() {
  poll "$3" file_holds "$1" "$2" || { log "\"$2\" not seen within $3 seconds"; return 1; }
}

# True when the open form's first field shows the text $1, as
# tests/app/window_probe.exe reads it from outside.
field_shows() {
  local answer
  answer=$(cd "$FORMREEL_PROGRAM_DIR" && WINEDEBUG=-all wine tests/app/window_probe.exe field 2>/dev/null) &&
    [[ $answer == "text=[$1]"* ]]
}

# Waits up to $2 seconds for the open form's first field to show the text $1.
demo_wait_field() {
  poll "$2" field_shows "$1" || { log "the field did not show \"$1\" within $2 seconds"; return 1; }
}

# Saves a picture of window $1 as the PNG file $2 and says so.
demo_capture() { capture_window "$1" "$2" && log "saved $2"; }

# True when a picture of window $1, taken now into $2, shows the clip's bars.
capture_shows_bars() { capture_window "$1" "$2" && shows_sample_bars "$2" >/dev/null; }

# Takes pictures of window $1 until one shows the clip's bars, for at most $3
# seconds, and saves that one as the PNG file $2.
demo_capture_playing() {
  local candidate
  candidate=$(mktemp --suffix=.png) || return 1
  if ! poll "$3" capture_shows_bars "$1" "$candidate"; then
    log "no picture of the clip's bars within $3 seconds"
    rm -f "$candidate"
    return 1
  fi
  mv "$candidate" "$2" && log "saved $2"
}

# Prints the command strings the program sent, as the trace in $1 shows
# them (its own calls pass no return buffer; the media layer's do).
demo_commands() {
  sed -n 's/^.*mciSendStringW (L"\(.*\)", 0\{8,\}, 0, 0\{8,\})$/\1/p' "$1"
}

# The headless demo: a private display, SAMPLE typed into the name form and
# confirmed, pictures of the form and of the clip playing, the commands sent
# and the exit code.
demo_headless() {
  mkdir -p "$DEMO_DIR"
  rm -f "$DEMO_DIR"/*.png "$DEMO_DIR/trace.txt"
  start_display || return 1
  log "display $DISPLAY (private Xvfb)"
  log "Wine prefix $FORMREEL_PREFIX (made on first use; Wine's messages go to build/demo/wine.log)"
  use_wine_prefix </dev/null >>"$DEMO_DIR/wine.log" 2>&1
  log "starting formreel.exe in $FORMREEL_PROGRAM_DIR, typing SAMPLE and CTRL-ENTER"
  local trace="$DEMO_DIR/trace.txt" form main
  demo_start_program "$trace"
  form=$(wait_window '^FORM$' 60) || return 1
  focus_window "$form"
  xdotool type --delay 60 SAMPLE
  demo_wait_field SAMPLE 10 || return 1
  demo_capture "$form" "$DEMO_DIR/name-form.png"
  xdotool key ctrl+Return
  demo_wait_text "$trace" 'L"play test wait"' 30 || return 1
  main=$(wait_window '^MAIN$' 10) && demo_capture_playing "$main" "$DEMO_DIR/playing.png" 10
  wait_program 60 || return 1
  echo "commands sent:"
  demo_commands "$trace" | sed 's/^/  /'
  echo "exit code: $FORMREEL_STARTED_STATUS"
}
