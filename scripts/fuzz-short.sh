#!/usr/bin/env bash
# Builds the libFuzzer targets with clang in build-fuzz and fuzzes for a short while, each on a
# fresh copy of the seed corpus:
#   velmar_fuzz_read_write  any bytes as a database, read and written: FUZZ_SECONDS (60)
#   velmar_fuzz_read_oom    the same read with the heap refusing allocations from a point the
#                           input picks: FUZZ_OOM_SECONDS (30; 0 skips it)
# Exits non-zero when the fuzzer finds a crash, a leak, a sanitizer report, a timeout or an
# out-of-memory input; the input that did it is left in build-fuzz/artifacts/.
#
# Usage: scripts/fuzz-short.sh [extra libFuzzer flags for both targets...]
#   FUZZ_SECONDS=1900 FUZZ_OOM_SECONDS=0 scripts/fuzz-short.sh   a long run
#   VELMAR_FUZZ_OUTPUT=file scripts/fuzz-short.sh   books to a regular file, not /dev/null
# Needs the Debian packages clang and libclang-rt-14-dev (libFuzzer), besides cmake,
# ninja-build and libexpat1-dev.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${FUZZ_SECONDS:-60}
oom_seconds=${FUZZ_OOM_SECONDS:-30}
build="build-fuzz"

if ! command -v clang++ >/dev/null; then
  echo "fuzz-short: clang++ is missing (Debian packages clang, libclang-rt-14-dev)" >&2
  exit 2
fi

configure_log=$(mktemp)
trap 'rm -f "$configure_log"' EXIT
cmake -S . -B "$build" -G Ninja \
  -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DVELMAR_BUILD_FUZZ=ON \
  -DVELMAR_BUILD_TESTS=OFF >"$configure_log" 2>&1 \
  || { cat "$configure_log" >&2; exit 1; }
cmake --build "$build" --target velmar_fuzz_read_write velmar_fuzz_read_oom

artifacts=$build/artifacts
rm -rf "$artifacts"
mkdir -p "$artifacts"

# The checked-in seeds plus every database the tests and the examples hold.
seeds() {
  find fuzz/corpus tests/data examples -type f -name '*.xml' -print0 2>/dev/null
}

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}

failed=0
# run_target NAME SECONDS CORPUS [flags...]
run_target() {
  local name=$1 time=$2 corpus=$3
  shift 3
  local log=$build/$name.log status=0
  echo "fuzz-short: $name, $(find "$corpus" -type f | wc -l) seed inputs, ${time}s"
  "$build/fuzz/$name" \
    -dict=fuzz/xml.dict \
    -max_total_time="$time" \
    -rss_limit_mb=2048 \
    -timeout=10 \
    -max_len=8192 \
    -print_final_stats=1 \
    -artifact_prefix="$artifacts/$name-" \
    "$@" \
    "$corpus" >"$log" 2>&1 || status=$?
  grep -E '^(Done [0-9]+ runs|stat::(number_of_executed_units|average_exec_per_sec|new_units_added|peak_rss_mb))' "$log" || true
  grep -E '^#[0-9]+[[:space:]]' "$log" | tail -n 1 | grep -oE 'cov: [0-9]+ ft: [0-9]+ corp: [^ ]+' || true
  local found
  found=$(find "$artifacts" -type f -name "$name-*" | wc -l)
  if [ "$status" -ne 0 ] || [ "$found" -ne 0 ]; then
    echo "fuzz-short: $name FAILED (exit $status, $found artifact(s) in $artifacts); from $log:" >&2
    # The report from its first line on (the stack trace is at the top), else the log's end.
    if grep -qE 'ERROR:|runtime error:|deadly signal' "$log"; then
      sed -n '/ERROR:\|runtime error:\|deadly signal/,$p' "$log" | head -n 60 >&2
    else
      tail -n 60 "$log" >&2
    fi
    failed=1
  fi
}

# The fuzzer's additions go to a working copy, never into the source tree.
corpus=$build/corpus-read-write
rm -rf "$corpus"
mkdir -p "$corpus"
while IFS= read -r -d '' database; do
  cp "$database" "$corpus/$(printf '%s' "$database" | tr '/' '_')"
done < <(seeds)
run_target velmar_fuzz_read_write "$seconds" "$corpus" "$@"

if [ "$oom_seconds" -gt 0 ]; then
  # Each seed three times, with the heap refusing from the first, the 4th and the 40th
  # allocation on (the first two bytes, little-endian).
  corpus=$build/corpus-read-oom
  rm -rf "$corpus"
  mkdir -p "$corpus"
  while IFS= read -r -d '' database; do
    name=$(printf '%s' "$database" | tr '/' '_')
    for budget in 00 03 28; do
      { printf '%b' "\\x$budget\\x00"; cat "$database"; } >"$corpus/$name.$budget"
    done
  done < <(seeds)
  run_target velmar_fuzz_read_oom "$oom_seconds" "$corpus" "$@"
fi

if [ "$failed" -ne 0 ]; then
  exit 1
fi
echo "fuzz-short: no crash, leak or sanitizer report"
