#!/usr/bin/env bash
# The Debian package as a user meets it, on this machine (as root, or with
# sudo): cpack makes it from the linux-package preset, lintian reads it,
# apt-get installs it, `formentry --help` and `man formentry` work, the
# examples build against it with no prefix path (into
# build/examples-native, which the tests then run in tmux), and
# `apt-get remove formreel` takes every file it brought. Prints one line a
# step, "ok: STEP" or "FAILED: STEP", and a last line "N passed, N failed".
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

build="$FORMREEL_ROOT/build/linux-package"
make_package() {
  build_preset linux-package >/dev/null && (cd "$build" && cpack -G DEB >/dev/null) && compgen -G "$build/formreel_*_amd64.deb" >/dev/null
}
step "cpack makes the Debian package" make_package || true
deb=$(ls "$build"/formreel_*_amd64.deb 2>/dev/null | head -1)
[ -n "$deb" ] || { echo "0 passed, $((failed + 1)) failed"; exit 1; }

# Errors and warnings count; lintian's informational tags do not.
no_lintian_complaints() {
  local report
  report=$(lintian --tag-display-limit 0 "$deb" 2>&1 | grep -E '^[EW]: ')
  [ -z "$report" ] || { log "$report"; return 1; }
}
step "lintian reports no error and no warning" no_lintian_complaints

# A package left from an earlier run goes first.
dpkg-query -W -f='${Status}' formreel 2>/dev/null | grep -q 'install ok installed' &&
  as_root env DEBIAN_FRONTEND=noninteractive apt-get remove -y -q formreel >/dev/null 2>&1
install_it() { as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -q "$deb" >/dev/null 2>&1; }
step "apt-get installs it" install_it
files=$(dpkg -L formreel 2>/dev/null)

help_works() { [ "$(command -v formentry)" = /usr/bin/formentry ] && formentry --help | grep -q '^usage: formentry'; }
step "formentry --help" help_works
man_works() { MANPAGER=cat MANWIDTH=80 man formentry 2>/dev/null | grep -q 'formentry'; }
step "man formentry" man_works

examples="$FORMREEL_ROOT/build/examples-native"
build_examples() {
  rm -rf "$examples"
  cmake -S examples -B "$examples" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null && cmake --build "$examples" >/dev/null
}
step "the examples build against it with find_package(formreel) and no prefix path" build_examples

remove_it() { as_root env DEBIAN_FRONTEND=noninteractive apt-get remove -y -q formreel >/dev/null 2>&1; }
step "apt-get remove formreel" remove_it
# What is left of its files belongs to another package (/usr, /usr/bin ...).
nothing_left() {
  local path left=""
  while IFS= read -r path; do
    [ -e "$path" ] || continue
    [ -d "$path" ] && dpkg -S "$path" >/dev/null 2>&1 && continue
    left+="$path "
  done <<<"$files"
  [ -n "$files" ] && [ -z "$left" ] || { log "left behind: ${left:-(the package listed no files)}"; return 1; }
}
step "nothing of it is left behind" nothing_left

echo "$passed passed, $failed failed"
[ "$failed" = 0 ]
