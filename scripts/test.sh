#!/usr/bin/env bash
# Sets everything up, builds from scratch and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
rm -rf build
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELMAR_BUILD_TESTS=ON
cmake --build build
ctest --test-dir build --output-on-failure -j "$(nproc)"
