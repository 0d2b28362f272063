#!/usr/bin/env bash
# Sets everything up, builds velmar2fb2 and converts the bundled example database
# (examples/catalogue.xml) into an e-book (examples/catalogue.fb2).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELMAR_BUILD_TESTS=OFF
cmake --build build

input=examples/catalogue.xml
output=examples/catalogue.fb2
if ! build/velmar2fb2 -i="$input" -o="$output"; then
  echo "convert-example: converting $root/$input failed (message above)" >&2
  exit 1
fi
if [ ! -s "$output" ]; then
  echo "convert-example: no book was written to $root/$output" >&2
  exit 1
fi
echo "The book is at $root/$output"
