#!/usr/bin/env bash
# Builds the program normally in build-valgrind and runs every end-to-end case (CTest label
# e2e) with the program under valgrind's memcheck: any invalid access, use of uninitialised
# memory, or leak of any kind fails the case.
#
# The e2e driver puts VELMAR_E2E_WRAPPER in front of the program, inside faketime (which fixes
# the clock for the date line through LD_PRELOAD; valgrind passes the preload on to the program,
# and the fake time and the error reports both come through).
#
# valgrind exits with 86 on an error, not 1: several cases expect the program itself to fail
# with 1, and an error there would otherwise pass as the expected status.
#
# Usage: scripts/valgrind-e2e.sh [extra ctest arguments...]
# Needs the Debian packages valgrind and faketime besides those of scripts/install-deps.sh.
set -euo pipefail
cd "$(dirname "$0")/.."

for tool in valgrind faketime; do
  command -v "$tool" >/dev/null || { echo "valgrind-e2e: $tool is missing (Debian package $tool)" >&2; exit 2; }
done

build="build-valgrind"
cmake -S . -B "$build" -G Ninja \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DVELMAR_SANITIZE=OFF \
  -DVELMAR_BUILD_TESTS=ON
cmake --build "$build" --target velmar2fb2

export VELMAR_E2E_NO_SECONDS=1  # the large-token case's bound is for the program alone
export VELMAR_E2E_WRAPPER="valgrind --leak-check=full --errors-for-leak-kinds=all --error-exitcode=86 -q"
cases=$(ctest --test-dir "$build" -L e2e -N | sed -n 's/^Total Tests: //p')
if [ "${cases:-0}" -eq 0 ]; then
  echo "valgrind-e2e: no test labelled e2e in $build" >&2
  exit 1
fi
ctest --test-dir "$build" -L e2e --output-on-failure -j "$(nproc)" "$@"
