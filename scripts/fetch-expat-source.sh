#!/usr/bin/env bash
# Fetches Debian's own Expat source package and unpacks it with Debian's patches applied, for
# the Windows build (Debian has no mingw Expat; building from this source keeps Debian's
# security fixes in the .exe).
#
#   1. adds a temporary deb-src entry for the main suite (removed again on any exit);
#   2. apt-get source --download-only expat=$version, into the download directory;
#   3. checks the .dsc, .orig and .debian files against the SHA-256 sums pinned below;
#   4. dpkg-source -x: unpacks the .orig and applies debian/patches.
# The unpacked tree is DEST (default build-expat-src/expat); it is left alone when its stamp
# says it came from the same pinned files.
#
# Usage: scripts/fetch-expat-source.sh [DEST]
# Needs root (or sudo) for the apt entry, and the Debian package dpkg-dev.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
dest=${1:-$root/build-expat-src/expat}

# The revision of the bookworm main suite (a point release's security fixes). Newer revisions
# reach the security pocket first; move the pin, with its sums, when the main suite has them.
version=2.5.0-1+deb12u2
pinned_sums="\
6fc87dbd01f49999ed368cfb37c08d35e41348dda2281d60642f3aa14cb77e32  expat_2.5.0-1+deb12u2.dsc
ab00ee05c7067fd10a35c5d2a4922ebba746ddd50ff83b79c828da17bbdf1757  expat_2.5.0.orig.tar.gz
7e29f5db5067e55193540089ed0f3ec9676704cf79dcea81a9bfb9f49435ae53  expat_2.5.0-1+deb12u2.debian.tar.xz"
stamp_text="expat $version
$pinned_sums"

if [ -f "$dest/.velmar-stamp" ] && [ "$(cat "$dest/.velmar-stamp")" = "$stamp_text" ]; then
  echo "fetch-expat-source: $dest is already unpacked ($version)"
  exit 0
fi

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
command -v dpkg-source >/dev/null || { echo "fetch-expat-source: dpkg-source is missing (Debian package dpkg-dev)" >&2; exit 2; }

download=$(dirname "$dest")/download
mkdir -p "$download"
entry=/etc/apt/sources.list.d/velmar-expat-source.sources
cleanup() {
  $sudo rm -f "$entry"
}
trap cleanup EXIT INT TERM

# The same mirror as the machine's own main-suite entry; its lists are updated on their own.
mirror=$(sed -n 's/^URIs: *\(http[^ ]*\/debian\)$/\1/p' /etc/apt/sources.list.d/debian.sources 2>/dev/null | head -n 1)
[ -n "$mirror" ] || mirror=http://deb.debian.org/debian
$sudo tee "$entry" >/dev/null <<SOURCES
Types: deb-src
URIs: $mirror
Suites: bookworm
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SOURCES
$sudo apt-get update -qq \
  -o Dir::Etc::sourcelist="$entry" -o Dir::Etc::sourceparts=- -o APT::Get::List-Cleanup=0
(cd "$download" && apt-get source --download-only -qq -o APT::Sandbox::User=root "expat=$version")
cleanup

(cd "$download" && printf '%s\n' "$pinned_sums" | sha256sum --check --strict --quiet) || {
  echo "fetch-expat-source: the downloaded files do not match the pinned SHA-256 sums" >&2
  exit 1
}

rm -rf "$dest"
dpkg-source --no-check -x "$download/expat_$version.dsc" "$dest" >/dev/null
printf '%s\n' "$stamp_text" > "$dest/.velmar-stamp"
echo "fetch-expat-source: Debian's expat $version unpacked in $dest"
