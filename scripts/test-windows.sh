#!/usr/bin/env bash
# Builds the Windows programs and runs their tests:
#   build-win64/  x86_64 .exe, its portable unit tests, the end-to-end cases and Expat's own
#                 test suite (runtests.exe, built from the same sources with the same flags)
#                 under wine64
#   build-win32/  i686 .exe, the same tests under wine32, in a chroot beside this machine
#                 (scripts/wine32-session.sh: natively or through qemu-i386, which it says)
# Both .exe files must import only Windows system DLLs (objdump -p): no mingw runtime DLL; carry
# their version resource and application manifest; and hold the Expat of third_party/.
#
# Usage: scripts/test-windows.sh [extra ctest arguments...]
# Installs what is missing (scripts/install-deps.sh); root or sudo for that, root for the 32-bit
# tests' chroot.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

stage_start=$SECONDS
stage() {
  echo "test-windows: $1 ($((SECONDS - stage_start)) s)"
  stage_start=$SECONDS
}

scripts/install-deps.sh
scripts/expat-tree.sh
stage "packages and Expat's source"
expat_version=$(sed -n 's/^#  define XML_\(MAJOR\|MINOR\|MICRO\)_VERSION //p' third_party/expat/lib/expat.h | paste -sd .)

# The DLLs a Windows installation always has. Anything else would have to ship beside the .exe.
system_dlls='^(kernel32|msvcrt|advapi32|user32|gdi32|shell32|ole32|oleaut32|ws2_32|bcrypt|ntdll|ucrtbase|api-ms-win-[a-z0-9-]+)\.dll$'
check_imports() {
  local exe=$1 objdump=$2 dlls unexpected
  dlls=$("$objdump" -p "$exe" | sed -n 's/^[[:space:]]*DLL Name: //p')
  echo "test-windows: $exe imports: $(echo "$dlls" | tr '\n' ' ')"
  [ -n "$dlls" ] || { echo "test-windows: no import table read from $exe" >&2; return 1; }
  unexpected=$(echo "$dlls" | tr 'A-Z' 'a-z' | grep -Ev "$system_dlls" || true)
  if [ -n "$unexpected" ]; then
    echo "test-windows: $exe needs DLLs Windows does not have: $unexpected" >&2
    return 1
  fi
}

# check_identity EXE OBJDUMP BUILD_DIR: the version resource (type 0x10) and the application
# manifest (type 0x18) are in its resource tree, saying what Properties > Details and Windows read.
check_identity() {
  local exe=$1 objdump=$2 build=$3 version types wide manifest missing=""
  version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
  # The first level of the tree: one entry per type.
  types=$("$objdump" -p "$exe" | sed -n 's/^[0-9a-f]*   Entry: ID: 0x0*\([0-9a-f]*\),.*/0x\1/p' | paste -sd ' ')
  wide=$(strings -el -n 3 "$exe")  # the version resource's text is UTF-16
  manifest=$(strings -n 8 "$exe" | sed -n '/^<assembly /,/^<\/assembly>/p')
  field() { echo "$wide" | grep -A 1 -x "$1" | sed -n 2p; }
  echo "test-windows: $exe resource types: ${types:-none}"
  echo "test-windows:   ProductName \"$(field ProductName)\", FileVersion \"$(field FileVersion)\"," \
    "FileDescription \"$(field FileDescription)\", OriginalFilename \"$(field OriginalFilename)\"," \
    "LegalCopyright \"$(field LegalCopyright)\""
  echo "test-windows:   manifest: $(grep -o 'level="[A-Za-z]*"' <<<"$manifest")," \
    "$(grep -c '<supportedOS ' <<<"$manifest") supportedOS, longPathAware $(sed -n 's/.*<longPathAware[^>]*>\([a-z]*\)<.*/\1/p' <<<"$manifest")"
  [[ " $types " == *" 0x10 "* ]] || missing+=" version-resource"
  [[ " $types " == *" 0x18 "* ]] || missing+=" manifest"
  [ "$(field FileVersion)" = "$version" ] || missing+=" FileVersion-$version"
  [ "$(field OriginalFilename)" = velmar2fb2.exe ] || missing+=" OriginalFilename"
  xmllint --noout - <<<"$manifest" 2>/dev/null || missing+=" well-formed-manifest"
  grep -q 'level="asInvoker"' <<<"$manifest" || missing+=" asInvoker"
  [ "$(grep -c '<supportedOS ' <<<"$manifest")" -eq 5 ] || missing+=" supportedOS-Vista-to-11"
  grep -q '<longPathAware[^>]*>true<' <<<"$manifest" || missing+=" longPathAware"
  # The parser's own version string, which XML_ExpatVersion returns (all of strings' output
  # read: grep -q would stop it with SIGPIPE, which pipefail counts).
  strings -n 8 "$exe" | grep -x "expat_$expat_version" >/dev/null || missing+=" expat_$expat_version"
  [ -z "$missing" ] || { echo "test-windows: $exe lacks:$missing" >&2; return 1; }
}

# expat_result BUILD_DIR: what Expat's runtests said in the last ctest run there.
expat_result() {
  local said
  said=$(grep -a -m 1 'Checks: ' "$1/Testing/Temporary/LastTest.log" | tr -d '\r' || true)
  echo "test-windows: Expat's runtests in $1: ${said:-no result}"
}

# configure BUILD_DIR TOOLCHAIN [cmake arguments...]
configure() {
  local build=$1 toolchain=$2
  shift 2
  mkdir -p "$build"
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchains/$toolchain.cmake" "$@" >"$build/configure.log" 2>&1 \
    || { cat "$build/configure.log" >&2; return 1; }
  grep -E '^CMake Warning' -A 3 "$build/configure.log" || true
}

rm -rf build-win64 build-win32
# 64-bit: built, checked, and tested under wine64.
trap 'scripts/wine-run.sh --stop' EXIT
scripts/wine-run.sh --start
stage "wine prefix and server"
configure build-win64 x86_64-w64-mingw32 -DVELMAR_BUILD_TESTS=ON -DVELMAR_EXPAT_TESTS=ON \
  -DCMAKE_CROSSCOMPILING_EMULATOR="$root/scripts/wine-run.sh"
cmake --build build-win64 -j 2
check_imports build-win64/velmar2fb2.exe x86_64-w64-mingw32-objdump
check_identity build-win64/velmar2fb2.exe x86_64-w64-mingw32-objdump build-win64
stage "x86_64 build"
ctest --test-dir build-win64 --output-on-failure -j 2 "$@"
expat_result build-win64
for marker in tests/e2e/cases/*/posix-only; do
  [ -e "$marker" ] || continue
  echo "test-windows: skipped e2e.$(basename "$(dirname "$marker")"): POSIX only: $(head -n 1 "$marker")"
done
stage "x86_64 tests under wine64"

# 32-bit: built and checked, then tested under wine32 (scripts/wine32-session.sh says how
# 32-bit programs ran, and fails, saying why, where it cannot run them).
configure build-win32 i686-w64-mingw32 -DVELMAR_BUILD_TESTS=ON -DVELMAR_EXPAT_TESTS=ON \
  -DCMAKE_CROSSCOMPILING_EMULATOR="$root/scripts/wine32-run.sh"
cmake --build build-win32 -j 2 --target velmar2fb2
check_imports build-win32/velmar2fb2.exe i686-w64-mingw32-objdump
check_identity build-win32/velmar2fb2.exe i686-w64-mingw32-objdump build-win32
stage "i686 build"
# The tests' discovery runs the test program: the rest of the build needs wine32 too.
scripts/wine32-session.sh sh -c \
  'cmake --build build-win32 -j 2 && ctest --test-dir build-win32 --output-on-failure -j 2 "$@"' sh "$@"
expat_result build-win32
stage "i686 tests under wine32"
echo "test-windows: passed"
