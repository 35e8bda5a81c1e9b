#!/usr/bin/env bash
# Runs the libFuzzer targets of the native build for a short, bounded time
# each, keeping their corpus under build/native/fuzz-corpus so that every run
# starts where the last one stopped. Prints one line per target and exits
# non-zero when a target found a failure (its input is kept under
# build/native/fuzz-artifacts) or could not run.
#
# Usage: scripts/fuzz-smoke.sh [seconds per target] [target...]
#   default: 25 seconds, target record_format_fuzz; FORMREEL_NATIVE_BUILD
#   names another native build tree than build/native.
set -u
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-25}
shift || true
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(record_format_fuzz)

build=${FORMREEL_NATIVE_BUILD:-$root/build/native}

# A new corpus of the record format target starts from typed numbers,
# right-aligned in 30 columns as the form hands them over; formentry's
# command line from command lines (a NUL after each argument) that set up a
# form, and descriptor files after two NULs.
seed_corpus() {
  local target=$1 corpus=$2 k=0 text
  seed_command_line() {  # FILE ARGUMENT...: the file's escapes as printf's %b reads them
    local file=$1
    shift
    { printf '%s\0' "$@"; printf '\0%b' "$file"; } >"$corpus/seed-$k"
    k=$((k + 1))
  }
  [ -z "$(ls -A "$corpus")" ] || return 0
  case $target in
    record_format_fuzz)
      for text in -12 "1 2 3" 12,5 16#FF "#ff" 2147483647 -32768 1.5E3 1.5D-3 1.5+3 -.5 \
          9007199254740993 3.402823466385289e38 1E-400 1E400 123456789012345678901234567890; do
        printf '%30s' "$text" >"$corpus/seed-$k"
        k=$((k + 1))
      done ;;
    command_line_fuzz)
      seed_command_line '' --value 1=CLIP --select 2=2 'CNAME^|SKIND^A^B^|'
      seed_command_line '' --select 3=1 --value 2=16#FF --json 'CA^|IB^|BGO^NO^|'
      seed_command_line '# a form\nHCaption|  \nCNAME^|\r\n\nRSPEED^|\nBGO^|\n' --no-input --value 2=1.5D3 --file -
      seed_command_line '' --value 1=5 --select 1=2 --range 2=1..9 --required 3 --timeout 2.5 'MBOX^A^B^C^|IN^|PPASS^|' ;;
  esac
}
status=0
for target in "${targets[@]}"; do
  binary="$build/tests/$target"
  if [ ! -x "$binary" ]; then
    echo "fuzz $target: not built (build the native preset first)"
    status=1
    continue
  fi
  corpus="$build/fuzz-corpus/$target"
  artifacts="$build/fuzz-artifacts/$target/"
  mkdir -p "$corpus" "$artifacts"
  seed_corpus "$target" "$corpus"
  dict=()
  [ -f "$root/tests/fuzz/$target.dict" ] && dict=("-dict=$root/tests/fuzz/$target.dict")
  log="$build/fuzz-artifacts/$target.log"
  "$binary" "${dict[@]}" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
    -print_final_stats=1 -artifact_prefix="$artifacts" "$corpus" >"$log" 2>&1
  result=$?
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
  if [ $result -eq 0 ]; then
    echo "fuzz $target: ${runs:-?} runs in ${seconds} s, no failure"
  else
    echo "fuzz $target: FAILED (exit $result) after ${runs:-?} runs; see $log"
    tail -n 30 "$log" >&2
    status=1
  fi
done
exit $status
