#!/usr/bin/env bash
# Builds the program and its tests for another architecture with Debian's cross compiler and
# runs the unit, end-to-end and hostile-input tests under qemu-user (CTest's
# CMAKE_CROSSCOMPILING_EMULATOR), in build-cross-ARCH/. The target's Expat is built from
# third_party/expat (checked by scripts/expat-tree.sh first), as for Windows, so no foreign
# architecture is added to this machine. faketime, which fixes the e2e cases' clock, is
# preloaded into qemu itself; -U LD_PRELOAD keeps it from the foreign program. A check the emulator cannot honour is skipped with its
# reason, never passed; the summary counts the skips.
#
# Usage: scripts/test-cross.sh ARCH       ARCH: aarch64 or s390x
# Installs the cross compiler and qemu-user when missing; root or sudo for that.
set -euo pipefail
cd "$(dirname "$0")/.."

arch=${1:-}
case $arch in
  aarch64) packages=(g++-aarch64-linux-gnu) ;;
  s390x) packages=(g++-s390x-linux-gnu) ;;
  *) echo "usage: scripts/test-cross.sh aarch64|s390x" >&2; exit 2 ;;
esac
triplet=$arch-linux-gnu
packages+=(qemu-user cmake ninja-build googletest libxml2-utils faketime file)

missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' \
    || missing+=("$package")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  echo "Installing: ${missing[*]}"
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
scripts/expat-tree.sh

build=build-cross-$arch
rm -rf "$build"
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_SYSTEM_NAME=Linux -DCMAKE_SYSTEM_PROCESSOR="$arch" \
  -DCMAKE_C_COMPILER="$triplet-gcc" -DCMAKE_CXX_COMPILER="$triplet-g++" \
  -DCMAKE_FIND_ROOT_PATH="/usr/$triplet" -DCMAKE_FIND_ROOT_PATH_MODE_PROGRAM=NEVER \
  -DCMAKE_FIND_ROOT_PATH_MODE_LIBRARY=ONLY -DCMAKE_FIND_ROOT_PATH_MODE_INCLUDE=ONLY \
  -DCMAKE_CROSSCOMPILING_EMULATOR="$(command -v "qemu-$arch");-U;LD_PRELOAD;-L;/usr/$triplet" \
  -DVELMAR_BUNDLED_EXPAT=ON -DVELMAR_BUILD_TESTS=ON >"$build.configure.log" 2>&1 \
  || { cat "$build.configure.log" >&2; exit 1; }
mv "$build.configure.log" "$build/configure.log"
cmake --build "$build"
file "$build/velmar2fb2"
ctest --test-dir "$build" --output-on-failure -j "$(nproc)" -L '^(unit|e2e|hostile)$' \
  --output-junit ctest.xml | tee "$build/ctest.log"
# Each skipped check with its reason, which CTest's own output leaves out.
echo "test-cross: $arch under $(qemu-"$arch" --version | head -n 1); skipped, with the reason:"
skips=$( {
  grep -E ': Skipped$' -A1 "$build/ctest.xml" | grep -vE ': Skipped$|^--$'  # GoogleTest's
  grep -o 'SKIP: [^<]*' "$build/ctest.xml"                                   # the e2e driver's
} | sort | uniq -c || true)
echo "${skips:-      none}"
