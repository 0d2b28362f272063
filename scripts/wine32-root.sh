#!/usr/bin/env bash
# Makes, once, the small Debian 12 system in which the 32-bit Windows program's tests run: wine64
# with wine32 (i386) beside it, in a `debootstrap --variant=minbase` chroot. The machine itself
# gets no i386 package: wine32 on it would upgrade some 60 of its shared libraries.
#
# With --qemu, it also holds qemu-i386 for machines whose kernel runs no 32-bit program
# (scripts/wine32-session.sh registers it): the static qemu-user 10.0 from bookworm-backports,
# pinned to that package alone. Debian 12's own qemu-user-static (7.2) mishandles the
# fixed-address mappings wine reserves its address space with, 64 KiB at a time, and takes some
# 50 s to start a 32-bit program; 10.0 takes 0.3 s.
#
#   VELMAR_WINE32_ROOT  where (default /var/tmp/velmar-wine32-root: kept between runs as a cache)
# Usage: scripts/wine32-root.sh [--qemu]      (root; the network to Debian's archive)
set -euo pipefail
target=${VELMAR_WINE32_ROOT:-/var/tmp/velmar-wine32-root}
mirror=http://deb.debian.org/debian
want_qemu=false
[ "${1:-}" = --qemu ] && want_qemu=true

fail() { echo "wine32-root: $*" >&2; exit 1; }
[ "$(id -u)" -eq 0 ] || fail "making $target takes root (debootstrap, chroot)"
command -v debootstrap >/dev/null || fail "debootstrap is missing (Debian package debootstrap)"

# What a finished step leaves behind, so a run that was cut short is taken up again.
done_base=$target/.velmar-wine
done_qemu=$target/.velmar-qemu
if [ -e "$done_base" ] && { ! $want_qemu || [ -e "$done_qemu" ]; }; then
  exit 0
fi

# apt inside the root, in a mount namespace of its own: its /proc and /dev go away with it.
in_root() {
  unshare --mount --propagation private -- sh -c '
    mount -t proc proc "$0/proc" && mount --rbind /dev "$0/dev" && exec chroot "$0" "$@"' \
    "$target" env DEBIAN_FRONTEND=noninteractive LC_ALL=C.UTF-8 "$@"
}
apt_install() {
  in_root apt-get update -qq || fail "apt-get update failed in $target (no network to $mirror?)"
  in_root apt-get install -y -qq --no-install-recommends "$@" >/dev/null \
    || fail "could not install $* in $target"
  in_root apt-get clean  # the downloaded packages: some 300 MB
}

exec 9>"$target.lock"
flock 9
if [ ! -e "$done_base" ]; then
  # Never remove a root something is still mounted in: rm would go on into the mounted folder.
  if grep -qF " $target/" /proc/self/mountinfo; then
    fail "something is mounted inside $target; unmount it first"
  fi
  rm -rf "$target"
  echo "wine32-root: making $target (debootstrap bookworm, then wine64 and wine32:i386)"
  debootstrap --variant=minbase bookworm "$target" "$mirror" >"$target.log" 2>&1 \
    || { tail -n 5 "$target.log" >&2; fail "debootstrap failed (log: $target.log; no network to $mirror?)"; }
  in_root dpkg --add-architecture i386
  apt_install wine64 wine32:i386
  touch "$done_base"
fi
if $want_qemu && [ ! -e "$done_qemu" ]; then
  echo "wine32-root: adding qemu-user from bookworm-backports to $target"
  echo "deb $mirror bookworm-backports main" >"$target/etc/apt/sources.list.d/backports.list"
  # Every other package of backports stays out of reach (priority 100: only on request). There,
  # qemu-user's programs are static; qemu-user-static only pulls it in with qemu-user-binfmt.
  printf 'Package: qemu-user\nPin: release n=bookworm-backports\nPin-Priority: 500\n' \
    >"$target/etc/apt/preferences.d/qemu-user"
  apt_install qemu-user
  touch "$done_qemu"
fi
