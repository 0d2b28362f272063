#!/usr/bin/env bash
# Runs a 32-bit Windows program under wine32: scripts/wine-run.sh in the root of
# scripts/wine32-root.sh. The test emulator of the i686 build; it works inside
# scripts/wine32-session.sh, which makes the repository, /tmp and the prefix the same paths in
# the root as outside, and runs 32-bit programs.
#
#   VELMAR_WINE32_ROOT    the root (default /var/tmp/velmar-wine32-root)
#   VELMAR_WINE32_PREFIX  its wine prefix (default /tmp/velmar-wine32-$UID), never the 64-bit
#                         tests' WINEPREFIX: wine64 alone makes one without 32-bit DLLs
#
# Usage: as scripts/wine-run.sh
set -eu
export VELMAR_WINE_ROOT=${VELMAR_WINE32_ROOT:-/var/tmp/velmar-wine32-root}
export WINEPREFIX=${VELMAR_WINE32_PREFIX:-/tmp/velmar-wine32-$(id -u)}
exec "$(dirname "$0")/wine-run.sh" "$@"
