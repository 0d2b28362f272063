#!/usr/bin/env bash
# Runs a Windows program under wine64, headless: the test emulator of the Windows cross builds
# (CMAKE_CROSSCOMPILING_EMULATOR) and of scripts/test-windows.sh.
#
#   WINEPREFIX  the wine prefix (default /tmp/velmar-wine-$UID); made on first use
#   WINEDEBUG   default -all: wine's own diagnostics would land among the program's output
#   VELMAR_WINE_ROOT
#               a root directory to run wine in (chroot, in the same working directory):
#               scripts/wine32-run.sh's, where wine32 sits beside wine64
# Only wine64 (Debian package wine64): 64-bit programs, and 32-bit ones where wine32 is there
# too. No display is used.
#
# `--start` (or else the first run) makes the prefix and starts a persistent wineserver with
# wine's services, all with their standard streams on /dev/null: started by a program run inside
# a test, they would inherit the test's output pipe and keep it open, and the test runner would
# wait for them for ever. `--stop` ends the server and its services again.
#
# Usage: scripts/wine-run.sh PROGRAM.exe [arguments...]
#        scripts/wine-run.sh --start | --stop
set -eu
wine=/usr/lib/wine/wine64
wineserver=/usr/lib/wine/wineserver
in_root=()
[ -z "${VELMAR_WINE_ROOT:-}" ] || in_root=(chroot "$VELMAR_WINE_ROOT" env -C "$PWD")
if [ ! -x "${VELMAR_WINE_ROOT:-}$wine" ]; then
  echo "wine-run: ${VELMAR_WINE_ROOT:-}$wine is missing (Debian package wine64)" >&2
  exit 2
fi
export WINEPREFIX=${WINEPREFIX:-/tmp/velmar-wine-$(id -u)}
export WINEDEBUG=${WINEDEBUG:--all}
# No mono or gecko installer prompts, and no window: a console program needs neither.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
unset DISPLAY WAYLAND_DISPLAY
# wine turns the Unix arguments and file names into Windows' UTF-16 through the locale's
# character set; the names here are UTF-8 whatever locale the caller runs in (the e2e driver
# runs in C).
export LC_ALL=C.UTF-8

# --start leaves this behind, --stop takes it away; a program run without it starts first.
marker=$WINEPREFIX/.velmar-server-started

start_server() {
  mkdir -p "$WINEPREFIX"
  (
    flock 9
    [ -e "$marker" ] && exit 0
    # -p: stay up between programs (about 0.07 s a run instead of seconds). The daemons get
    # neither the lock (9>&-) nor any terminal or pipe of ours.
    setsid "${in_root[@]}" "$wineserver" -p </dev/null >/dev/null 2>&1 9>&- || true
    # Makes the prefix the first time and starts wine's services in the server.
    setsid "${in_root[@]}" "$wine" wineboot --init </dev/null >/dev/null 2>&1 9>&-
    touch "$marker"
  ) 9>"$WINEPREFIX.lock"
}

case ${1:-} in
  --start) start_server; exit 0 ;;
  --stop)
    rm -f "$marker"
    "${in_root[@]}" "$wineserver" -k </dev/null >/dev/null 2>&1 || true
    exit 0 ;;
esac
[ -e "$marker" ] || start_server
exec "${in_root[@]}" "$wine" "$@"
