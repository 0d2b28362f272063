#!/usr/bin/env bash
# Sets everything up, builds from scratch and runs every test:
#   the unit, end-to-end and hostile-input tests and the example book's check (build/);
#   the same suite under AddressSanitizer and UndefinedBehaviorSanitizer (build-asan/);
#   the end-to-end cases under valgrind (build-valgrind/);
#   a short fuzzing run (build-fuzz/);
#   clang-tidy and cppcheck (build-tidy/);
#   the source release and the Debian package built from it by dpkg-buildpackage, with lintian
#   and an install, a conversion and a purge in a throwaway root (scripts/build-deb.sh: dist/);
#   the Windows programs, 64- and 32-bit, with their tests under wine64 and wine32
#   (scripts/test-windows.sh: build-win64/, build-win32/);
#   the unit, end-to-end and hostile-input tests of an aarch64 build under qemu-user
#   (scripts/test-cross.sh aarch64: build-cross-aarch64/).
# With --quick, only the first of these. Each stage's time is printed when it ends.
set -euo pipefail
cd "$(dirname "$0")/.."

quick=false
[ "${1:-}" = "--quick" ] && quick=true

stage_start=$SECONDS
stage_done() {
  echo "== $1 took $((SECONDS - stage_start)) s"
  stage_start=$SECONDS
}

scripts/install-deps.sh
stage_done "installing packages"
rm -rf build
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELMAR_BUILD_TESTS=ON -DVELMAR_BUILD_BENCH=ON
cmake --build build
ctest --test-dir build --output-on-failure -j "$(nproc)"
stage_done "build and tests"
$quick && exit 0

echo "== sanitizers"
scripts/test-sanitizers.sh
stage_done "sanitizers"
echo "== valgrind"
scripts/valgrind-e2e.sh
stage_done "valgrind"
echo "== fuzzing"
scripts/fuzz-short.sh
stage_done "fuzzing"
echo "== static analysis"
scripts/lint.sh
stage_done "static analysis"
echo "== debian package"
scripts/build-deb.sh
stage_done "debian package"
echo "== windows"
scripts/test-windows.sh
stage_done "windows"
echo "== aarch64"
scripts/test-cross.sh aarch64
stage_done "aarch64"
echo "All tests passed. Total $SECONDS s."
