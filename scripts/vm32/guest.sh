#!/usr/bin/env bash
# Runs inside the virtual machine, in the tree shared at its host path:
#   prepare  creates the Wine prefix that the image keeps;
#   test     runs every win32 suite under 32-bit Wine on a private display:
#            the ctest suites of build/win32, and the native drivers (ctest
#            label "wine") against build/win32 and build/examples-win32.
# GoogleTest reports land in build/test-results/win32 for the host to count.
set -u
cd "$(dirname "$0")/../.."
export FORMREEL_PREFIX=/var/lib/formreel/wine-prefix
source scripts/lib.sh

cleanup() { stop_wine; stop_display; }
trap cleanup EXIT
start_display || exit 1
use_wine_prefix
case ${1:-} in
  prepare)
    [ -f "$WINEPREFIX/.formreel-ready" ] ;;
  test)
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
    exit "$status" ;;
  *) log "usage: guest.sh prepare|test"; exit 2 ;;
esac
