# Steps of the headless demo (./run without DISPLAY) and of
# scripts/demo-pictures: start the program under Wine with the media trace
# on, wait for its windows, type into them, take pictures, and report the
# command strings it sent. Source it after scripts/lib.sh and call
# use_runnable_windows_build first: the program is the one in
# FORMREEL_PROGRAM_DIR. It defines functions.

DEMO_DIR="$FORMREEL_ROOT/build/demo"
DEMO_PID=""
DEMO_EXIT=""

# Starts formreel.exe in its build folder; its trace goes to $1.
demo_start_program() {
  (cd "$FORMREEL_PROGRAM_DIR" && exec env WINEDEBUG=+mci wine formreel.exe </dev/null >/dev/null 2>"$1") &
  DEMO_PID=$!
}

# Waits up to $2 seconds for a visible window whose name matches the regular
# expression $1 and prints its id.
demo_wait_window() {
  local name=$1 limit=$2 tries=0 id
  while [ $tries -lt $((limit * 10)) ]; do
    id=$(xdotool search --onlyvisible --name "$name" 2>/dev/null | head -1)
    if [ -n "$id" ]; then echo "$id"; return 0; fi
    sleep 0.1
    tries=$((tries + 1))
  done
  log "no window \"$name\" within $limit seconds"
  return 1
}

# Waits up to $3 seconds for the text $2 to appear in the file $1.
demo_wait_text() {
  local file=$1 text=$2 limit=$3 tries=0
  until grep -qF -- "$text" "$file" 2>/dev/null; do
    tries=$((tries + 1))
    [ $tries -gt $((limit * 10)) ] && { log "\"$text\" not seen within $limit seconds"; return 1; }
    sleep 0.1
  done
}

# Waits up to $2 seconds for the open form's first field to show the text
# $1, as tests/app/window_probe.exe reads it from outside.
demo_wait_field() {
  local text=$1 limit=$2 tries=0 answer
  until answer=$(cd "$FORMREEL_PROGRAM_DIR" && WINEDEBUG=-all wine tests/app/window_probe.exe field 2>/dev/null) &&
      [[ $answer == "text=[$text]"* ]]; do
    tries=$((tries + 1))
    [ $tries -gt $((limit * 10)) ] && { log "the field did not show \"$text\" within $limit seconds"; return 1; }
    sleep 0.1
  done
}

# True when the picture $1 holds the six coloured bars of the sample clip's
# upper part: at least 100 pixels near each colour in a quarter-size copy.
demo_shows_bars() {
  convert "$1" -sample 25% -depth 8 txt:- 2>/dev/null | awk '
    BEGIN { n = split("192,192,0 0,192,192 0,192,0 192,0,192 192,0,0 0,0,192", bar, " ") }
    /^[0-9]/ {
      if (!match($0, /\([0-9]+,[0-9]+,[0-9]+/)) next
      split(substr($0, RSTART + 1, RLENGTH - 1), p, ",")
      for (k = 1; k <= n; k++) {
        split(bar[k], c, ",")
        if ((p[1] - c[1])^2 <= 1024 && (p[2] - c[2])^2 <= 1024 && (p[3] - c[3])^2 <= 1024) count[k]++
      }
    }
    END { for (k = 1; k <= n; k++) if (count[k] < 100) exit 1 }'
}

# Takes pictures of window $1 until one shows the clip's bars, for at most $3
# seconds, and saves that one as the PNG file $2.
demo_capture_playing() {
  local window=$1 png=$2 limit=$3 tries=0 candidate
  candidate=$(mktemp --suffix=.png) || return 1
  until demo_capture "$window" "$candidate" 2>/dev/null && demo_shows_bars "$candidate"; do
    tries=$((tries + 1))
    if [ $tries -gt $((limit * 10)) ]; then
      log "no picture of the clip's bars within $limit seconds"
      rm -f "$candidate"
      return 1
    fi
    sleep 0.1
  done
  mv "$candidate" "$png" && log "saved $png"
}

# Gives window $1 the keyboard focus (there is no window manager).
demo_focus() { xdotool windowfocus --sync "$1" >/dev/null 2>&1; }

# Saves a picture of window $1 as the PNG file $2.
demo_capture() {
  local dump
  dump=$(mktemp) || return 1
  xwd -silent -id "$1" -out "$dump" && convert "xwd:$dump" "$2"
  local status=$?
  rm -f "$dump"
  [ $status = 0 ] && log "saved $2"
  return $status
}

# Waits up to $1 seconds for the program to end and sets DEMO_EXIT to its
# exit code; kills it (and only it) when it has not ended by then.
demo_wait_program() {
  local limit=$1 tries=0
  while kill -0 "$DEMO_PID" 2>/dev/null && [ $tries -lt $((limit * 10)) ]; do
    sleep 0.1
    tries=$((tries + 1))
  done
  if kill -0 "$DEMO_PID" 2>/dev/null; then
    log "the program did not end within $limit seconds: stopping it"
    kill -9 "$DEMO_PID" 2>/dev/null
    wait "$DEMO_PID" 2>/dev/null
    DEMO_PID=""
    return 1
  fi
  wait "$DEMO_PID"
  DEMO_EXIT=$?
  DEMO_PID=""
}

demo_stop_program() {
  if [ -n "$DEMO_PID" ]; then
    kill -9 "$DEMO_PID" 2>/dev/null
    wait "$DEMO_PID" 2>/dev/null
    DEMO_PID=""
  fi
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
  use_wine_prefix </dev/null >>"$DEMO_DIR/wine.log" 2>&1
  local trace="$DEMO_DIR/trace.txt" form main
  demo_start_program "$trace"
  form=$(demo_wait_window '^FORM$' 60) || return 1
  demo_focus "$form"
  xdotool type --delay 60 SAMPLE
  demo_wait_field SAMPLE 10 || return 1
  demo_capture "$form" "$DEMO_DIR/name-form.png"
  xdotool key ctrl+Return
  demo_wait_text "$trace" 'L"play test wait"' 30 || return 1
  main=$(demo_wait_window '^MAIN$' 10) && demo_capture_playing "$main" "$DEMO_DIR/playing.png" 10
  demo_wait_program 60 || return 1
  echo "commands sent:"
  demo_commands "$trace" | sed 's/^/  /'
  echo "exit code: $DEMO_EXIT"
}
