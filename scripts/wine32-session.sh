#!/usr/bin/env bash
# Runs a command in which 32-bit Windows programs run, through scripts/wine32-run.sh (the i686
# build's test discovery and its tests), and says how they ran:
#   1. makes or reuses the wine32 root (scripts/wine32-root.sh);
#   2. in a mount namespace of its own, whose mounts go with it, runs a tiny 32-bit program in
#      the root. Where the kernel runs none, registers the root's qemu-i386 for i386 ELF with
#      binfmt_misc, with the F flag: the kernel opens the emulator at once, so it works inside
#      the root too. The registration is machine-wide: it goes on exit;
#   3. binds the repository, /tmp and the wine prefix at the same paths inside the root: wine's
#      server opens and renames the files itself, so it and every program must see one set of
#      paths;
#   4. starts the wine server, runs one 32-bit program (a cold start once held a test up by
#      44 s), runs the command, and stops the server.
# One session at a time on a machine: a second waits.
#
# Usage: scripts/wine32-session.sh COMMAND [ARGUMENTS...]      (root)
set -euo pipefail
scripts=$(cd "$(dirname "$0")" && pwd)
repo=$(dirname "$scripts")
target=${VELMAR_WINE32_ROOT:-/var/tmp/velmar-wine32-root}
prefix=${VELMAR_WINE32_PREFIX:-/tmp/velmar-wine32-$(id -u)}
binfmt=/proc/sys/fs/binfmt_misc
entry=velmar-i386

say() { echo "wine32-session: $*"; }
fail() { echo "wine32-session: $*" >&2; exit 1; }

# Whether a 32-bit program runs in the root; if not, why. The probe only exits, with status 0.
why=""
probe() {
  local dir status=0
  dir=$(mktemp -d -p "$target/tmp")
  printf '.globl _start\n_start:\n movl $1, %%eax\n xorl %%ebx, %%ebx\n int $0x80\n' >"$dir/exit.s"
  as --32 -o "$dir/exit.o" "$dir/exit.s" && ld -m elf_i386 -o "$dir/exit" "$dir/exit.o" \
    || fail "no 32-bit probe could be assembled (binutils)"
  # bash's exec: chroot's own would hand a file the kernel refuses to sh, as a script.
  chroot "$target" /bin/bash -c 'exec "$0"' "${dir#"$target"}/exit" 2>"$dir/error" || status=$?
  [ "$status" -eq 0 ] || why=$(sed "s|^.*/exit: ||;q" "$dir/error")
  rm -rf "$dir"
  return "$status"
}

if [ "${1:-}" != --inside ]; then
  [ "$(id -u)" -eq 0 ] || fail "32-bit Windows programs run here in a chroot: that takes root"
  [ $# -gt 0 ] || fail "usage: $0 COMMAND [ARGUMENTS...]"
  exec 8>"$target.session.lock"
  flock 8
  "$scripts/wine32-root.sh"  # step 1
  exec unshare --mount --propagation private -- "$0" --inside "$@"
fi
shift

# Step 2. On newer kernels an entry lives only as long as a binfmt_misc mount: this one, in
# this namespace. Older ones keep it after that, so it is also removed on exit.
mount -t binfmt_misc none "$binfmt"
remove_entry() { [ ! -e "$binfmt/$entry" ] || echo -1 >"$binfmt/$entry"; }
remove_entry  # left by a session that was killed
if probe; then
  others=$(grep -l '^magic 7f454c4601010100000000000000000002000300' "$binfmt"/* 2>/dev/null || true)
  if [ -n "$others" ]; then
    say "32-bit programs run through binfmt_misc's $(echo "$others" | sed 's|.*/||' | tr '\n' ' ')(registered by others)"
  else
    say "32-bit programs run natively: this kernel runs them"
  fi
else
  say "this kernel runs no 32-bit program ($why): qemu-i386 runs them"
  "$scripts/wine32-root.sh" --qemu
  qemu=$target/usr/bin/qemu-i386
  trap remove_entry EXIT
  # i386 ELF, magic and mask as in qemu's own binfmt table (the kernel reads the escapes).
  magic='\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00'
  mask='\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff'
  printf ':%s:M::%s:%s:%s:F' "$entry" "$magic" "$mask" "$qemu" >"$binfmt/register" \
    || fail "could not register $qemu with binfmt_misc"
  probe || fail "a 32-bit program fails even through $qemu: $why"
  say "32-bit programs run through $("$qemu" --version | head -n 1), registered as binfmt_misc's $entry for this session"
  # For the tests: what emulation cannot honour is skipped, saying so (windows_book_checks.sh).
  export VELMAR_32BIT_EMULATOR=qemu-i386
fi

# Step 3.
mount -t proc proc "$target/proc"
mount --rbind /dev "$target/dev"
for dir in /tmp "${TMPDIR:-/tmp}" "$repo" "$prefix"; do
  mkdir -p "$dir" "$target$dir"
  mount --bind "$dir" "$target$dir"
done

# Step 4.
trap 'status=$?; "$scripts/wine32-run.sh" --stop; remove_entry; exit $status' EXIT
"$scripts/wine32-run.sh" --start 8>&-  # the daemons must not hold the session lock
# A 32-bit program of wine's own; a 32-bit process on 64-bit Windows says x86 here.
arch=$("$scripts/wine32-run.sh" 'C:\windows\syswow64\cmd.exe' /c 'echo %PROCESSOR_ARCHITECTURE%' | tr -d '\r')
[ "$arch" = x86 ] || fail "wine's 32-bit cmd.exe did not answer x86 but: ${arch:-nothing}"
say "wine32 is up: its 32-bit cmd.exe runs as $arch"
"$@"
