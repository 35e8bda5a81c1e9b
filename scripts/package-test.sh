#!/usr/bin/env bash
# The Debian packages as a Linux user meets them, on this machine (as root,
# or with sudo): the README's first commands build the three and install
# formentry alone, which needs no development package and no GTK, whose
# --help, page and first form (typed into in tmux) work, and whose --window
# says which package it needs; then formreel-window, with which formentry
# --window shows the form on a private Xvfb (typed into with xdotool);
# then libformreel-dev, the examples built against it with no prefix path
# (into build/examples-native, which the tests run in tmux), a shared
# library among them, the guide's first program showing its form in the
# window unchanged, and find_package(formreel COMPONENTS window); removing
# the three leaves nothing. One line a step, "ok: STEP" or "FAILED: STEP",
# and a last line "N passed, N failed".
set -u
cd "$(dirname "$0")/.."
source scripts/lib.sh

passed=0
failed=0
step() {  # step NAME COMMAND...: runs COMMAND, counts it, says how it went
  local name=$1
  shift
  if "$@"; then
    echo "ok: $name"
    passed=$((passed + 1))
  else
    echo "FAILED: $name"
    failed=$((failed + 1))
  fi
}

# readme_block START: the body of README.md's first fenced block whose first
# line starts with START.
readme_block() {
  awk -v start="$1" '
    /^ *```/ { if (inside) { if (found) exit; inside = 0 } else { inside = 1; first = 1 } next }
    inside && first { first = 0; if (index($0, start) == 1) found = 1 }
    inside && found { print }' README.md
}

# apt-get waits for another's hold on the package database to end.
apt_get() { as_root env DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=300 "$@"; }
packages=(formentry libformreel-dev formreel-window)
installed() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }
remove_packages() {  # removes whichever of them is installed
  local p present=()
  for p in "${packages[@]}"; do installed "$p" && present+=("$p"); done
  [ ${#present[@]} -eq 0 ] || apt_get remove -y -q "${present[@]}" >/dev/null 2>&1
}
# Packages left from an earlier run go first: apt-get would keep an
# installed package of the same version rather than take the new file.
remove_packages

build="$FORMREEL_ROOT/build/linux-package"
rm -f "$build"/*.deb
# The README's commands as they stand; sudo is as_root here.
sudo() { if [ "$1" = apt-get ]; then shift && apt_get "$@"; else as_root "$@"; fi; }
first_commands() {
  local commands
  commands=$(readme_block "sudo apt-get install") && [ -n "$commands" ] || { log "README.md has no block starting with \"sudo apt-get install\""; return 1; }
  (set -e; eval "$commands") >/dev/null 2>&1 </dev/null
}
step "the README's first commands build the packages and install formentry" first_commands
command_deb=$(ls "$build"/formentry_*_amd64.deb 2>/dev/null | head -1)
dev_deb=$(ls "$build"/libformreel-dev_*_amd64.deb 2>/dev/null | head -1)
window_deb=$(ls "$build"/formreel-window_*_amd64.deb 2>/dev/null | head -1)
[ -n "$command_deb" ] && [ -n "$dev_deb" ] && [ -n "$window_deb" ] ||
  { echo "$passed passed, $((failed + 1)) failed"; exit 1; }

# Errors and warnings count; lintian's informational tags do not.
no_lintian_complaints() {
  local report
  report=$(lintian --tag-display-limit 0 "$command_deb" "$dev_deb" "$window_deb" 2>&1 | grep -E '^[EW]: ')
  [ -z "$report" ] || { log "$report"; return 1; }
}
step "lintian reports no error and no warning" no_lintian_complaints

# formentry alone: the run-time libraries it loads, and nothing a program is
# built with, nor GTK, in the whole closure of its dependencies.
command_alone() {
  local closure
  installed formentry && ! installed libformreel-dev || { log "formentry is not installed alone"; return 1; }
  closure=$(apt-cache depends --recurse --no-recommends --no-suggests --no-conflicts --no-breaks --no-replaces \
            --no-enhances formentry | grep -v '^ ' | sort -u)
  grep -qx libncursesw6 <<<"$closure" || { log "formentry does not depend on libncursesw6: $closure"; return 1; }
  if grep -E -e '-dev$' -e '^pkg-config$' <<<"$closure"; then log "formentry needs a development package"; return 1; fi
  if grep -E -e 'gtk' <<<"$closure"; then log "formentry needs GTK"; return 1; fi
}
step "formentry is installed alone, and needs no development package and no GTK" command_alone
command_files=$(dpkg -L formentry 2>/dev/null)

help_works() { [ "$(command -v formentry)" = /usr/bin/formentry ] && formentry --help | grep -q '^usage: formentry'; }
step "formentry --help" help_works
# The page's footer carries the version formentry --version prints.
man_works() {
  local version
  version=$(formentry --version) && version=${version#formentry }
  MANPAGER=cat MANWIDTH=80 man formentry 2>/dev/null | tail -1 | grep -q "^formreel $version "
}
step "man formentry, of formentry's version" man_works

# The README's first form, typed into as the README says, in a tmux pane of
# this script's own: its answers are what the README shows.
first_form() {
  local block dir socket=formreel-package-$$ ok=1
  block=$(readme_block "\$ formentry 'C") && [ -n "$block" ] || { log "README.md has no first form"; return 1; }
  dir=$(mktemp -d) || return 1
  printf '%s >"%s/out"; echo $? >"%s/status"\n' "$(head -1 <<<"$block" | cut -c3-)" "$dir" "$dir" >"$dir/run.sh"
  t() { tmux -L "$socket" "$@"; }
  t -f /dev/null new-session -d -s form -x 80 -y 24 "sh '$dir/run.sh'" &&
    poll 10 sh -c "tmux -L $socket capture-pane -p -t form | grep -q COLOUR" &&
    t send-keys -t form -l ANN && t send-keys -t form Tab && t send-keys -t form -l 42 &&
    t send-keys -t form Tab Down Down C-j && poll 10 test -s "$dir/status" &&
    [ "$(cat "$dir/status")" = 0 ] && [ "$(cat "$dir/out")" = "$(tail -n +2 <<<"$block")" ] && ok=0
  [ "$ok" = 0 ] || log "the first form: status $(cat "$dir/status" 2>/dev/null), printed: $(cat "$dir/out" 2>/dev/null)"
  t kill-server 2>/dev/null
  rm -rf "$dir" "${TMUX_TMPDIR:-/tmp}/tmux-$(id -u)/$socket"
  return "$ok"
}
step "the README's first form prints what the README shows" first_form

# Without formreel-window, a window is refused with the package to install.
window_missing() {
  local errors status
  errors=$(DISPLAY=:0 formentry --window 'CNAME^|' 2>&1 >/dev/null </dev/null)
  status=$?
  [ "$status" = 4 ] && grep -q "install the package formreel-window" <<<"$errors" ||
    { log "formentry --window without the module: status $status, $errors"; return 1; }
}
step "formentry --window without formreel-window says which package to install" window_missing

install_window() { apt_get install -y -q "$window_deb" >/dev/null 2>&1; }
step "apt-get installs formreel-window" install_window
window_files=$(dpkg -L formreel-window 2>/dev/null)

# A program started with no terminal on the display of this script's own
# Xvfb (its D-Bus session, for the accessibility bus GTK looks for),
# typed into with X key events once its window is viewable: what it printed.
# window_form EXPECTED COMMAND...
window_form() {
  local expected=$1 dir pid ok=1
  shift
  dir=$(mktemp -d) || return 1
  start_display || { rm -rf "$dir"; return 1; }
  # Only the program's own output goes to out: the accessibility bus the
  # session starts for it writes to the session's.
  dbus-run-session -- sh -c 'out=$1; shift; exec setsid -w "$@" >"$out"' sh "$dir/out" "$@" \
    >"$dir/errors" 2>&1 </dev/null &
  pid=$!
  if poll 20 sh -c "xdotool search --onlyvisible --name . >/dev/null 2>&1"; then
    xdotool type --delay 40 ANN && xdotool key --delay 40 Tab && xdotool type --delay 40 42 &&
      xdotool key ctrl+Return && poll 20 sh -c "! kill -0 $pid 2>/dev/null" &&
      [ "$(cat "$dir/out")" = "$expected" ] && ok=0
  fi
  [ "$ok" = 0 ] || log "the window printed: $(cat "$dir/out"), and said: $(head -3 "$dir/errors")"
  kill "$pid" 2>/dev/null
  wait "$pid" 2>/dev/null
  stop_display
  rm -rf "$dir"
  return "$ok"
}
first_window() { window_form $'ANN\n42' formentry --window 'CNAME^|IAGE^|'; }
step "formentry --window shows the form on a desktop, typed into with X keys" first_window

install_dev() { apt_get install -y -q "$dev_deb" >/dev/null 2>&1; }
step "apt-get installs libformreel-dev" install_dev
dev_files=$(dpkg -L libformreel-dev 2>/dev/null)

examples="$FORMREEL_ROOT/build/examples-native"
build_examples() {
  rm -rf "$examples"
  cmake -S examples -B "$examples" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null && cmake --build "$examples" >/dev/null
}
step "the examples build against it with find_package(formreel) and no prefix path" build_examples
# The library links into a shared library (it is position-independent),
# whose form a program on it confirms unattended.
shared_library() { [ "$("$examples/ask_clip" --no-input)" = "CLIP 1994" ]; }
step "a shared library on it shows a form unattended" shared_library

# The guide's first program, as it stands, with no terminal but a desktop:
# its form in the window. Its NAME starts selected, so ANN replaces it; its
# second field is a list, which takes no typed text.
guide_window() {
  window_form "name ANN, kind 2, year 1994, frames 2500, speed 1, length 4.5, save" "$examples/first_form"
}
step "the guide's first program shows its form in the window, unchanged" guide_window

# A project that asks for the window component finds the module.
window_component() {
  local dir ok=1
  dir=$(mktemp -d) || return 1
  printf '%s\n' 'cmake_minimum_required(VERSION 3.25)' 'project(window LANGUAGES CXX)' \
    'find_package(formreel 1.1 REQUIRED COMPONENTS window)' \
    'get_target_property(module formreel::window IMPORTED_LOCATION)' 'message(STATUS "module: ${module}")' \
    >"$dir/CMakeLists.txt"
  cmake -S "$dir" -B "$dir/build" 2>&1 | grep -q "module: /usr/lib/.*/formreel/libformreel-window.so" && ok=0
  rm -rf "$dir"
  return "$ok"
}
step "find_package(formreel COMPONENTS window) finds the module" window_component

remove_all() { remove_packages && ! installed formentry && ! installed libformreel-dev && ! installed formreel-window; }
step "apt-get remove formentry libformreel-dev formreel-window" remove_all
# What is left of their files belongs to another package (/usr, /usr/bin ...).
nothing_left() {
  local path left=""
  while IFS= read -r path; do
    [ -e "$path" ] || continue
    [ -d "$path" ] && dpkg -S "$path" >/dev/null 2>&1 && continue
    left+="$path "
  done <<<"$command_files"$'\n'"$dev_files"$'\n'"$window_files"
  [ -n "$command_files" ] && [ -n "$dev_files" ] && [ -n "$window_files" ] && [ -z "$left" ] ||
    { log "left behind: ${left:-(a package listed no files)}"; return 1; }
}
step "nothing of them is left behind" nothing_left

echo "$passed passed, $failed failed"
[ "$failed" = 0 ]
