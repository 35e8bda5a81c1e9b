#!/usr/bin/env bash
# Builds the virtual machine that runs the win32 suites where this machine's
# kernel runs no 32-bit programs: a Debian root file system of this host's
# release with 32-bit Wine, Xvfb and xdotool, made by debootstrap from the
# host's own apt sources, as a raw ext4 image, with the release's kernel and
# a small initrd beside it. The image is rebuilt only when this script
# changes (its hash is kept beside the image). The Wine prefix is created by
# a first boot of the finished image and kept in it.
#   scripts/vm32/image.sh DIR    (DIR: where the image lives, e.g. build/vm32)
set -u
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
source "$here/../lib.sh"
dir=${1:?usage: scripts/vm32/image.sh DIR}

# What the guest runs: Wine for both word sizes, the display and keyboard
# tools the drivers use, ctest, and a kernel.
GUEST_PACKAGES=(wine wine64 wine32:i386 fonts-wine xvfb xdotool imagemagick x11-apps cmake
  linux-image-amd64 initramfs-tools)
# The modules the initrd carries: the disk, its file system and the shared folder.
GUEST_MODULES=(virtio_pci virtio_blk ext4 9p 9pnet_virtio)

recipe=$(sha256sum "${BASH_SOURCE[0]}" | cut -d' ' -f1)
if [ -f "$dir/ready" ] && [ "$(cat "$dir/ready")" = "$recipe" ]; then
  exit 0
fi

release=$(. /etc/os-release && echo "${VERSION_CODENAME:-}")
[ -n "$release" ] || { log "vm32: cannot tell this machine's Debian release from /etc/os-release"; exit 1; }
sources=$("$here/apt-sources.sh" "$release")
mirror=$(awk -v rel="$release" '$2 == rel { print $1; exit }' <<<"$sources")
[ -n "$mirror" ] || { log "vm32: no apt source for $release in /etc/apt (needed for debootstrap)"; exit 1; }

log "vm32: building the virtual machine image in $dir ($release from $mirror; takes some minutes, once)"
root="$dir/root"
unmount_chroot() {
  local m
  for m in proc sys dev/pts dev; do mountpoint -q "$root/$m" 2>/dev/null && as_root umount "$root/$m"; done
  return 0
}
trap unmount_chroot EXIT
# A run stopped half-way may have left the host's /dev bound inside.
unmount_chroot
as_root rm -rf --one-file-system "$dir"
mkdir -p "$dir"

as_root debootstrap --variant=minbase --include=ca-certificates "$release" "$root" "$mirror" >"$dir/debootstrap.log" 2>&1 ||
  { log "vm32: debootstrap failed (see $dir/debootstrap.log)"; exit 1; }

# apt inside: the host's sources for the release, the i386 architecture,
# and an initrd of the listed modules only (small and quick to boot).
awk '{ print "deb", $1, $2, "main" }' <<<"$sources" | as_root tee "$root/etc/apt/sources.list" >/dev/null
as_root mkdir -p "$root/etc/initramfs-tools/conf.d"
printf 'MODULES=list\nCOMPRESS=gzip\n' | as_root tee "$root/etc/initramfs-tools/conf.d/formreel" >/dev/null
printf '%s\n' "${GUEST_MODULES[@]}" | as_root tee "$root/etc/initramfs-tools/modules" >/dev/null
for m in proc sys dev dev/pts; do
  case $m in proc) as_root mount -t proc proc "$root/proc" ;; sys) as_root mount -t sysfs sys "$root/sys" ;;
    *) as_root mount --bind "/$m" "$root/$m" ;; esac
done
as_root chroot "$root" sh -c "dpkg --add-architecture i386 && apt-get update -q &&
  DEBIAN_FRONTEND=noninteractive apt-get install -y -q ${GUEST_PACKAGES[*]} && apt-get clean" \
  </dev/null >"$dir/packages.log" 2>&1 || { log "vm32: installing the guest's packages failed (see $dir/packages.log)"; exit 1; }
unmount_chroot

# PID 1 of the guest: mounts the shared folder at the path the kernel
# command line names (the same as on the host, so the absolute paths built
# into the test programs hold), runs the job there and powers off.
as_root tee "$root/sbin/formreel-init" >/dev/null <<'INIT'
#!/bin/sh
PATH=/usr/sbin:/usr/bin:/sbin:/bin
export PATH HOME=/root LANG=C.UTF-8
# The initrd hands over /proc, /sys, /dev and /run mounted.
mountpoint -q /proc || mount -t proc proc /proc
mountpoint -q /sys || mount -t sysfs sys /sys
mountpoint -q /dev || mount -t devtmpfs dev /dev
mkdir -p /dev/pts /dev/shm
mount -t devpts devpts /dev/pts
mount -t tmpfs tmpfs /dev/shm
mount -t tmpfs tmpfs /tmp
mountpoint -q /run || mount -t tmpfs tmpfs /run
ip link set lo up 2>/dev/null
share="" job=""
for arg in $(cat /proc/cmdline); do
  case $arg in formreel.share=*) share=${arg#*=} ;; formreel.job=*) job=${arg#*=} ;; esac
done
mkdir -p "$share" && mount -t 9p -o trans=virtio,version=9p2000.L,msize=1048576 formreel "$share" &&
  cd "$share" && bash scripts/vm32/guest.sh "$job" </dev/null
echo "formreel-guest-exit $?"
sync
mount -o remount,ro / 2>/dev/null
echo o >/proc/sysrq-trigger
# Wait for the power to go without touching the disk (it is going too).
while :; do :; done
INIT
as_root chmod 755 "$root/sbin/formreel-init"

kernel=$(cd "$root/boot" && ls vmlinuz-* | sort -V | tail -1)
as_root cp "$root/boot/$kernel" "$dir/vmlinuz"
as_root cp "$root/boot/initrd.img-${kernel#vmlinuz-}" "$dir/initrd.img"
# Room for the Wine prefix and the tests' own files beside the system.
size=$(( $(as_root du -sm "$root" | cut -f1) + 2048 ))
truncate -s "${size}M" "$dir/disk.raw"
# Inode tables and journal written now: left to the guest's kernel, every
# boot would spend minutes of emulated time writing them again.
as_root mkfs.ext4 -q -F -L formreel -E lazy_itable_init=0,lazy_journal_init=0 -d "$root" "$dir/disk.raw" || { log "vm32: mkfs.ext4 failed"; exit 1; }
as_root rm -rf --one-file-system "$root"

# The first boot creates the Wine prefix (minutes) and keeps it in the image.
"$here/boot.sh" "$dir" prepare --keep || { log "vm32: the first boot of the new image failed"; exit 1; }
echo "$recipe" >"$dir/ready"
