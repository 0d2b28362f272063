#!/usr/bin/env bash
# Sets everything up, builds from scratch and runs every test:
#   the unit, end-to-end and hostile-input tests and the example book's check (build/);
#   the same suite under AddressSanitizer and UndefinedBehaviorSanitizer (build-asan/);
#   the end-to-end cases under valgrind (build-valgrind/);
#   a short fuzzing run (build-fuzz/);
#   clang-tidy and cppcheck (build-tidy/).
# With --quick, only the first of these.
set -euo pipefail
cd "$(dirname "$0")/.."

quick=false
[ "${1:-}" = "--quick" ] && quick=true

scripts/install-deps.sh
rm -rf build
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELMAR_BUILD_TESTS=ON -DVELMAR_BUILD_BENCH=ON
cmake --build build
ctest --test-dir build --output-on-failure -j "$(nproc)"
$quick && exit 0

echo "== sanitizers"
scripts/test-sanitizers.sh
echo "== valgrind"
scripts/valgrind-e2e.sh
echo "== fuzzing"
scripts/fuzz-short.sh
echo "== static analysis"
scripts/lint.sh
echo "All tests passed."
