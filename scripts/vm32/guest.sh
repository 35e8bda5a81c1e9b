#!/usr/bin/env bash
# Runs inside the virtual machine, in the tree shared at its host path:
#   prepare  creates the Wine prefix that the image keeps;
#   test     runs every win32 suite under 32-bit Wine on a private display:
#            the ctest suites of build/win32, and the native drivers (ctest
#            label "wine") against build/win32 and build/examples-win32.
# GoogleTest reports land in build/test-results/win32 of the shared tree for
# the host to count; the forms' screenshots go back there too.
set -u
cd "$(dirname "$0")/../.."
export FORMREEL_PREFIX=/var/lib/formreel/wine-prefix
source scripts/lib.sh

# Programs started from the shared folder crash under Wine (their code
# reads back as zeros), so the test job runs on a copy of the tree on the
# guest's own disk, mounted over the shared tree's path so that the
# absolute paths built into the programs still hold. The shared tree stays
# reachable at $host.
host=/mnt/host-tree
copy_tree_in() {
  local local_tree=/var/tmp/tree preset
  mkdir -p "$host" "$local_tree" &&
    mount --bind "$FORMREEL_ROOT" "$host" &&
    mount --bind "$local_tree" "$FORMREEL_ROOT" || return 1
  (cd "$host" && tar --exclude=./build --exclude=./.git -cf - .) | tar -C "$FORMREEL_ROOT" -xf - || return 1
  mkdir -p "$FORMREEL_ROOT/build"
  for preset in win32 native examples-win32; do
    cp -a "$host/build/$preset" "$FORMREEL_ROOT/build/" || return 1
  done
  cd "$FORMREEL_ROOT"
}
copy_results_out() {
  local shots
  mkdir -p "$host/build/test-results/win32"
  cp -a "$FORMREEL_ROOT/build/test-results/win32/." "$host/build/test-results/win32/"
  for shots in build/*/tests/screenshots; do
    [ -d "$shots" ] && mkdir -p "$host/$shots" && cp -a "$shots/." "$host/$shots/"
  done
  return 0
}

case ${1:-} in
  prepare | test) ;;
  *) log "usage: guest.sh prepare|test"; exit 2 ;;
esac
if [ "$1" = test ]; then
  copy_tree_in || { log "vm32: could not copy the tree into the guest"; exit 1; }
fi
cleanup() { stop_wine; stop_display; }
trap cleanup EXIT
start_display || exit 1
use_wine_prefix
if [ "$1" = prepare ]; then
  [ -f "$WINEPREFIX/.formreel-ready" ]
  exit
fi

use_runnable_windows_build
[ "$FORMREEL_WINDOWS_PRESET" = win32 ] || { log "vm32: the guest cannot run 32-bit programs"; exit 1; }
export FORMREEL_EXAMPLES_DIR="$FORMREEL_ROOT/build/examples-win32"
results="$FORMREEL_ROOT/build/test-results/win32"
mkdir -p "$results"
status=0
log "== testing win32 (in the virtual machine)"
GTEST_OUTPUT="xml:$(winepath -w "$results")\\" ctest --test-dir build/win32 --output-on-failure || status=1
log "== the drivers against win32 (in the virtual machine)"
GTEST_OUTPUT="xml:$results/" ctest --test-dir build/native -L wine --output-on-failure || status=1
copy_results_out
exit "$status"
