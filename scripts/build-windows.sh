#!/usr/bin/env bash
# Builds the Windows release: dist/velmar2fb2-VERSION-win32.zip (i686) and
# dist/velmar2fb2-VERSION-win64.zip (x86_64), each holding
#   velmar2fb2.exe      static: it needs only DLLs every Windows has; with its version resource
#                       and application manifest
#   README.txt          usage, messages and exit status
#   catalogue.xml       the example database
#   LICENSE.txt         the program's licence
#   COPYING-expat.txt   the licence of the Expat parser linked into it (third_party/expat/)
# (the text files all with CR LF line ends, which the script checks)
#
# Reproducible: two builds of one commit, in any two clones, give byte-identical zips. The .exe
# has no link timestamp (--no-insert-timestamp), no build path (-ffile-prefix-map), no symbol
# table (stripped), and windres puts no time in its resources; every file in the zip carries
# the commit's time (scripts/source-date.sh: SOURCE_DATE_EPOCH, or the commit's, from git or as
# the source release recorded it), fixed permissions, and the entries are sorted (zip -X: no
# extra fields with owners or other times).
#
# Expat is built from third_party/expat/, which must first match the sum that
# third_party/expat-origin.txt records (scripts/expat-tree.sh). dist/SHA256SUMS then lists the
# zips and, where scripts/build-deb.sh has left it, the Debian package.
#
# Usage: scripts/build-windows.sh
# Installs what is missing (scripts/install-deps.sh); root or sudo for that.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

scripts/install-deps.sh
scripts/expat-tree.sh

version=$(sed -n 's/^project(velmar2fb2 VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
[ -n "$version" ] || { echo "build-windows: no version in CMakeLists.txt" >&2; exit 1; }
SOURCE_DATE_EPOCH=$(scripts/source-date.sh)
export SOURCE_DATE_EPOCH
export TZ=UTC LC_ALL=C

# Text with CR LF line ends, whatever it had.
crlf() { sed -e 's/\r$//' -e 's/$/\r/'; }

# "2.8.3 (commit 11856978, 2026-08-21)": the release and the commit the tree was taken at.
expat=$(sed -n 's/^#  define XML_\(MAJOR\|MINOR\|MICRO\)_VERSION //p' third_party/expat/lib/expat.h | paste -sd .)
expat="$expat ($(sed -n 's/^commit: *\([0-9a-f]\{8\}\)[0-9a-f]* (\(.*\))$/commit \1, \2/p' third_party/expat-origin.txt))"

mkdir -p dist
for target in win32:i686-w64-mingw32:32-bit win64:x86_64-w64-mingw32:64-bit; do
  IFS=: read -r name triplet bits <<<"$target"
  build=build-dist-$name
  rm -rf "$build"
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVELMAR_BUILD_TESTS=OFF \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchains/$triplet.cmake" >/dev/null
  cmake --build "$build" -j 2

  package=velmar2fb2-$version-$name
  stage=$build/$package
  mkdir -p "$stage"
  "$triplet-strip" -o "$stage/velmar2fb2.exe" "$build/velmar2fb2.exe"
  sed -e "s/@VERSION@/$version/g" -e "s/@BITS@/$bits/" -e "s/@NAME@/$name/g" -e "s/@EXPAT@/$expat/" \
    packaging/windows/README.txt \
    | crlf > "$stage/README.txt"
  cp examples/catalogue.xml "$stage/catalogue.xml"
  crlf < LICENSE > "$stage/LICENSE.txt"
  crlf < third_party/expat/COPYING > "$stage/COPYING-expat.txt"
  # Every text file with CR LF line ends: Notepad before Windows 10 shows LF alone as one line.
  for text in "$stage"/*; do
    [ "$text" != "$stage/velmar2fb2.exe" ] || continue
    if grep -aqv $'\r$' "$text"; then
      echo "build-windows: $text has a line that does not end with CR LF" >&2
      exit 1
    fi
  done
  chmod 644 "$stage"/*
  chmod 755 "$stage" "$stage/velmar2fb2.exe"
  find "$stage" -exec touch -h -d "@$SOURCE_DATE_EPOCH" {} +

  zip_file=$root/dist/$package.zip
  rm -f "$zip_file"
  (cd "$build" && find "$package" -type f | sort | zip -X -D -q "$zip_file" -@)
  echo "build-windows: $zip_file"
done
scripts/write-sums.sh
