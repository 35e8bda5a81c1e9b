#!/usr/bin/env bash
# Boots the image that scripts/vm32/image.sh built in DIR once, runs
# scripts/vm32/guest.sh JOB in it on the shared tree, prints the guest's
# console as it goes, and exits with the job's status. Without --keep the
# boot leaves the image unchanged. A guest that has not powered off within
# FORMREEL_VM32_MINUTES minutes (default 45) is stopped and the boot fails.
#   scripts/vm32/boot.sh DIR JOB [--keep]
set -u
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
source "$here/../lib.sh"
dir=${1:?usage: scripts/vm32/boot.sh DIR JOB [--keep]}
job=${2:?usage: scripts/vm32/boot.sh DIR JOB [--keep]}
minutes=${FORMREEL_VM32_MINUTES:-45}
snapshot=(-snapshot)
[ "${3:-}" = --keep ] && snapshot=()

case $FORMREEL_ROOT in
  *[[:space:]]*) log "vm32: the tree's path holds a blank, which the guest's kernel command line cannot carry"; exit 1 ;;
esac

console="$dir/console-$job.log"
: >"$console"
# No KVM here: the CPU is emulated. Without smap=off the guest kernel kills
# 32-bit processes at their return to user mode (a fault under SMAP). An
# emulated CPU on a busy host stalls for seconds: no soft lockup reports.
timeout --kill-after=20 "${minutes}m" nice -n 10 qemu-system-x86_64 \
  -accel tcg,thread=multi -smp 2 -m 4G -cpu max,smap=off \
  -kernel "$dir/vmlinuz" -initrd "$dir/initrd.img" \
  -append "root=/dev/vda rw init=/sbin/formreel-init console=ttyS0 quiet loglevel=3 panic=1 nosoftlockup formreel.share=$FORMREEL_ROOT formreel.job=$job" \
  -drive "file=$dir/disk.raw,format=raw,if=virtio" "${snapshot[@]}" \
  -virtfs "local,path=$FORMREEL_ROOT,mount_tag=formreel,security_model=none,multidevs=remap" \
  -nic none -display none -monitor none -serial "file:$console" -no-reboot \
  </dev/null >"$dir/qemu-$job.log" 2>&1 &
qemu=$!
# timeout passes a TERM or INT on to the qemu it started.
trap 'kill "$qemu" 2>/dev/null' EXIT
tail -n +1 -f --pid="$qemu" "$console" >&2 &
wait "$qemu"
status=$?
wait
trap - EXIT

if [ "$status" = 124 ] || [ "$status" = 137 ]; then
  log "vm32: the virtual machine did not finish '$job' within $minutes minutes and was stopped (FORMREEL_VM32_MINUTES sets the limit)"
  exit 1
fi
[ "$status" = 0 ] || { log "vm32: qemu failed ($status): $(tail -5 "$dir/qemu-$job.log")"; exit 1; }
exit_line=$(tr -d '\r' <"$console" | sed -n 's/^formreel-guest-exit \([0-9]*\)$/\1/p' | tail -1)
[ -n "$exit_line" ] || { log "vm32: the guest powered off without finishing '$job'"; exit 1; }
exit "$exit_line"
