#!/usr/bin/env bash
# Writes dist/SHA256SUMS, in the format sha256sum --check reads: one line for each release file
# of this version in dist/ (the source tarball, the Windows zips, the Debian package and
# its source package's .dsc, which holds the sums of its other parts),
# whichever have been built. scripts/build-source.sh, scripts/build-windows.sh and
# scripts/build-deb.sh all end with it, so the list holds all of them after any order.
#
# Usage: scripts/write-sums.sh
set -euo pipefail
cd "$(dirname "$0")/.."
version=$(sed -n 's/^project(velmar2fb2 VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
cd dist
shopt -s nullglob  # a file not built is left out, and every name is a pattern for that
files=(velmar2fb2-"$version".tar[.]gz velmar2fb2-"$version"-win*.zip velmar2fb2_"$version"-*_*.deb
  velmar2fb2_"$version"-*.dsc)
[ ${#files[@]} -gt 0 ] || { echo "write-sums: no release file of $version in dist/" >&2; exit 1; }
sha256sum "${files[@]}" > SHA256SUMS.new
mv SHA256SUMS.new SHA256SUMS
sha256sum --check --strict SHA256SUMS
