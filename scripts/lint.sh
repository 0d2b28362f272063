#!/usr/bin/env bash
# Static analysis of the program's sources: clang-tidy with the checked-in .clang-tidy, then
# cppcheck. Exits non-zero when either reports anything.
#
# clang-tidy reads the compile commands of build-tidy, a clang configuration made here (no
# build needed) with the fuzz target included, so fuzz/ is linted along with src/.
#
# Usage: scripts/lint.sh
# Needs the Debian packages clang-tidy, cppcheck and clang, besides those of
# scripts/install-deps.sh.
set -euo pipefail
cd "$(dirname "$0")/.."

for tool in clang-tidy cppcheck clang++; do
  command -v "$tool" >/dev/null || { echo "lint: $tool is missing" >&2; exit 2; }
done

build="build-tidy"
cmake -S . -B "$build" -G Ninja \
  -DCMAKE_CXX_COMPILER=clang++ \
  -DVELMAR_BUILD_TESTS=OFF \
  -DVELMAR_BUILD_FUZZ=ON >/dev/null
# The Windows implementations are checked by the cross build, which compiles them warning-free.
mapfile -t sources < <(find src fuzz -name '*.cpp' -not -path 'src/platform/win32/*' | sort)

status=0

echo "== clang-tidy"
tidy_log=$build/clang-tidy.log
# One process per file, as many at a time as there are cores. Headers are checked through the
# files that include them (HeaderFilterRegex), so a header finding can show up more than once.
if ! printf '%s\n' "${sources[@]}" | xargs -P "$(nproc)" -n 1 \
    clang-tidy -p "$build" --quiet --warnings-as-errors='*' >"$tidy_log" 2>&1; then
  status=1
fi
findings=$(grep -E '^[^ ].*: (warning|error): ' "$tidy_log" | sort -u || true)
if [ -n "$findings" ]; then
  printf '%s\n' "$findings"
  echo "lint: clang-tidy findings above; the full report is in $tidy_log"
  status=1
elif [ "$status" -ne 0 ]; then
  cat "$tidy_log"
else
  echo "clang-tidy: clean"
fi

echo "== cppcheck"
# Suppressed, each for a reason:
#   useStlAlgorithm: the raw loops it points at are a constexpr function (std::accumulate is
#     constexpr only from C++20) and searches that stop at a match with a side effect, which
#     read plainer as loops.
#   uninitMemberVar in fiction_book_writer.h and input_file.h: BookText::buffer_ and
#     InputFile::buffer_ are 64 KiB each that are only ever read up to what was put in them;
#     clearing them in the constructor would be a memset for nothing.
#   missingIncludeSystem: the standard and system headers are not cppcheck's to find.
if ! cppcheck --enable=warning,style,performance,portability --error-exitcode=1 --inline-suppr \
    --std=c++17 --language=c++ -I src --quiet \
    --suppress=useStlAlgorithm \
    --suppress=uninitMemberVar:src/writer/fiction_book_writer.h \
    --suppress=uninitMemberVar:src/platform/input_file.h \
    --suppress=missingIncludeSystem \
    src fuzz; then
  echo "lint: cppcheck findings above"
  status=1
else
  echo "cppcheck: clean"
fi

exit "$status"
