#!/usr/bin/env bash
# Builds the Windows release: dist/velmar2fb2-VERSION-win32.zip (i686) and
# dist/velmar2fb2-VERSION-win64.zip (x86_64), each holding
#   velmar2fb2.exe      static: it needs only DLLs every Windows has; with its version resource
#                       and application manifest
#   README.txt          usage, messages and exit status
#   catalogue.xml       the example database
#   LICENSE.txt         the program's licence
#   COPYING-expat.txt   the licence of the Expat parser linked into it (from Debian's source)
# (the text files all with CR LF line ends, which the script checks)
#
# Reproducible: two builds of one commit, in any two clones, give byte-identical zips. The .exe
# has no link timestamp (--no-insert-timestamp), no build path (-ffile-prefix-map), no symbol
# table (stripped), and windres puts no time in its resources; every file in the zip carries
# the commit's time (SOURCE_DATE_EPOCH, default: the commit's), fixed permissions, and the
# entries are sorted (zip -X: no extra fields with owners or other times).
#
# Usage: scripts/build-windows.sh
# Installs what is missing (scripts/install-deps.sh); root or sudo for that and for Expat's source.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

scripts/install-deps.sh
scripts/fetch-expat-source.sh

version=$(sed -n 's/^project(velmar2fb2 VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
[ -n "$version" ] || { echo "build-windows: no version in CMakeLists.txt" >&2; exit 1; }
export SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct)}
export TZ=UTC LC_ALL=C

# Text with CR LF line ends, whatever it had.
crlf() { sed -e 's/\r$//' -e 's/$/\r/'; }

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
  sed -e "s/@VERSION@/$version/" -e "s/@BITS@/$bits/" packaging/windows/README.txt \
    | crlf > "$stage/README.txt"
  cp examples/catalogue.xml "$stage/catalogue.xml"
  crlf < LICENSE > "$stage/LICENSE.txt"
  crlf < build-expat-src/expat/expat/COPYING > "$stage/COPYING-expat.txt"
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
(cd dist && sha256sum "velmar2fb2-$version-win32.zip" "velmar2fb2-$version-win64.zip")
