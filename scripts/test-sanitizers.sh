#!/usr/bin/env bash
# Builds everything with AddressSanitizer and UndefinedBehaviorSanitizer (g++) in build-asan
# and runs the whole CTest suite there. A sanitizer report fails the test it happens in.
#
# Sanitizer options:
#   detect_leaks=1, halt_on_error=1 and print_stacktrace=1: every leak and every undefined
#     behaviour is a failure, with a stack trace.
#   exitcode=86: a report must not pass for the program's own exit status 1, which many cases
#     expect.
#   verify_asan_link_order=0: the end-to-end driver runs the program under faketime, whose
#     LD_PRELOAD library comes before the sanitizer runtime; without this every e2e case stops
#     at start-up ("ASan runtime does not come first in initial library list"). Under faketime
#     a leak then shows as an abort with status 1 ("The futex facility returned an unexpected
#     error code") rather than as a report: it still fails a case that expects success, not one
#     that expects status 1. scripts/valgrind-e2e.sh covers those.
# g++ only: clang links its sanitizer runtime statically, and such a program hangs at start-up
# under faketime (libfaketime: "Unexpected recursive calls to clock_gettime()").
#
# Usage: scripts/test-sanitizers.sh [extra ctest arguments...]
# Needs the Debian packages of scripts/install-deps.sh (g++ brings libasan and libubsan).
set -euo pipefail
cd "$(dirname "$0")/.."

build="build-asan"
cmake -S . -B "$build" -G Ninja \
  -DCMAKE_CXX_COMPILER=g++ \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DVELMAR_SANITIZE=ON \
  -DVELMAR_BUILD_TESTS=ON
cmake --build "$build"

export ASAN_OPTIONS=detect_leaks=1:exitcode=86:verify_asan_link_order=0:detect_stack_use_after_return=1:strict_string_checks=1${ASAN_OPTIONS:+:$ASAN_OPTIONS}
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1:exitcode=86${UBSAN_OPTIONS:+:$UBSAN_OPTIONS}
ctest --test-dir "$build" --output-on-failure -j "$(nproc)" "$@"
