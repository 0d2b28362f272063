#!/usr/bin/env bash
# Runs one end-to-end case against the real program and compares everything it does. One driver
# and one set of cases for every platform the program is built for.
#
# A case is a directory:
#   args     the arguments, one per line (@SOURCE_DIR@ stands for the repository)
#   stdout   the exact standard output expected, with LF line ends
#   status   the exit status expected
#   files/   copied into an empty scratch directory, which the program runs in
#   expect/  files that must be in the scratch directory afterwards, byte for byte
#   setup    optional shell script run in the scratch directory before the program, for what
#            git cannot store (symbolic and hard links); what it makes may stay
#   stdout.windows, status.windows
#            what a Windows build answers instead, where Windows rightly differs (a directory
#            cannot be opened as a file there, say)
#   posix-only
#            the case needs something only a POSIX system has (/dev/full, ...); the file says
#            what. On Windows the case is skipped with that reason.
#   seconds  optional: the most seconds the run may take, for a case a slow parser would hang
#            on (a loose bound, not a measure of speed)
# After the run the scratch directory must hold exactly the files of files/ and expect/: no
# stray or partial book. Every book the program wrote is also checked against the schema.
#
# Environment:
#   VELMAR_E2E_PLATFORM  posix (default) or windows. On Windows every line the program prints
#                        ends with CR LF: the expected stdout is converted to that before the
#                        comparison (the program's own output is compared as it is).
#   VELMAR_E2E_CLOCK     faketime (default on posix) or real (default on windows). With faketime
#                        the clock is fixed at 09:05 on 1 November 2004 (UTC), the date in the
#                        expected books. With the real clock the expected books' date line is
#                        replaced by the one for the minute the program ran in, before the
#                        comparison; everything else is still compared byte for byte.
#   VELMAR_E2E_WRAPPER   a command prefix for the program (valgrind, say, or wine).
#   VELMAR_E2E_NO_SECONDS
#                        set: the cases' seconds bounds are not checked (under valgrind, which
#                        runs the program tens of times slower).
#   VELMAR_E2E_UNTIMED   a reason (under an emulator, say): the seconds bounds are not checked,
#                        and a case with one ends with "SKIP: REASON" when all else held.
#
# Usage: run_case.sh PROGRAM CASE_DIR SOURCE_DIR
set -u
program=$1
case_dir=$2
source_dir=$3
check_book="$source_dir/tests/tools/check_book.sh"
schema_dir="$source_dir/tests/data/fb2-schema"
platform=${VELMAR_E2E_PLATFORM:-posix}
case $platform in
  posix) default_clock=faketime ;;
  windows) default_clock=real ;;
  *) echo "run_case: VELMAR_E2E_PLATFORM is posix or windows, not $platform" >&2; exit 2 ;;
esac
clock=${VELMAR_E2E_CLOCK:-$default_clock}
export TZ=UTC LC_ALL=C

if [ "$platform" = windows ] && [ -f "$case_dir/posix-only" ]; then
  echo "SKIP: POSIX only: $(head -n 1 "$case_dir/posix-only")"
  exit 0
fi
# The answer expected on this platform: FILE.windows where Windows has its own.
expected_file() {
  if [ "$platform" = windows ] && [ -f "$case_dir/$1.windows" ]; then
    echo "$case_dir/$1.windows"
  else
    echo "$case_dir/$1"
  fi
}

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
actual_stdout=$(mktemp -p "$scratch" -u .stdout.XXXXXX)

[ -d "$case_dir/files" ] && cp -a "$case_dir/files/." "$scratch/"
set_up=""
if [ -f "$case_dir/setup" ]; then
  (cd "$scratch" && sh -e "$case_dir/setup") || { echo "FAIL: the case's setup failed"; exit 1; }
  set_up=$(cd "$scratch" && find . -mindepth 1 | sort)
fi
arguments=()
if [ -s "$case_dir/args" ]; then
  while IFS= read -r line || [ -n "$line" ]; do
    arguments+=("${line//@SOURCE_DIR@/$source_dir}")
  done < "$case_dir/args"
fi

clock_prefix=()
case $clock in
  faketime) clock_prefix=(faketime '2004-11-01 09:05:00') ;;
  real) ;;
  *) echo "run_case: VELMAR_E2E_CLOCK is faketime or real, not $clock" >&2; exit 2 ;;
esac
started=$(date +%s)
started_ns=$(date +%s%N)
# shellcheck disable=SC2086  # the wrapper is a command line of its own
(cd "$scratch" && "${clock_prefix[@]}" ${VELMAR_E2E_WRAPPER:-} \
  "$program" "${arguments[@]}" > "$actual_stdout")
status=$?
finished=$(date +%s)
took_ms=$((($(date +%s%N) - started_ns) / 1000000))

failed=0
fail() { echo "FAIL: $*"; failed=1; }

if [ -f "$case_dir/seconds" ] && [ -z "${VELMAR_E2E_NO_SECONDS:-}${VELMAR_E2E_UNTIMED:-}" ]; then
  bound=$(cat "$case_dir/seconds")
  echo "took $((took_ms / 1000)).$(printf '%03d' $((took_ms % 1000))) s (bound $bound s)"
  [ "$took_ms" -le $((bound * 1000)) ] || fail "the run took longer than $bound s"
fi
expected_status=$(cat "$(expected_file status)")
[ "$status" -eq "$expected_status" ] || fail "exit status $status, expected $expected_status"

expected_stdout=$(expected_file stdout)
if [ "$platform" = windows ]; then
  converted=$(mktemp -p "$scratch" -u .expected.XXXXXX)
  sed 's/$/\r/' "$expected_stdout" > "$converted"
  expected_stdout=$converted
fi
if ! cmp -s "$actual_stdout" "$expected_stdout"; then
  fail "standard output differs"
  diff <(cat -A "$expected_stdout") <(cat -A "$actual_stdout") | head -20
fi
rm -f "$actual_stdout" "${converted:-}"

# The book's date line for a moment (seconds since the epoch), as the program writes it.
date_line() {
  date -d "@$1" '+ <date value="%Y-%-m-%-d">%-d.%-m.%Y, %-H:%M</date>'
}
# Whether the expected file NAME is one the case starts with, untouched by the run.
kept_from_start() { cmp -s "$case_dir/expect/$1" "$case_dir/files/$1" 2>/dev/null; }
# Whether the file NAME in the scratch directory is the expected one; with the real clock, a book
# this run wrote is compared with the expected one dated with a minute the program ran in.
same_file() {
  local name=$1 written="$scratch/$1" expected="$case_dir/expect/$1" moment dated
  if [ "$clock" = faketime ] || kept_from_start "$name"; then
    cmp -s "$written" "$expected"
    return
  fi
  dated=$(mktemp -p "$scratch" -u .dated.XXXXXX)
  for moment in "$started" "$finished"; do
    sed "s|^ <date value=\"[^\"]*\">[^<]*</date>\r\$|$(date_line "$moment")\r|" "$expected" > "$dated"
    if cmp -s "$written" "$dated"; then
      rm -f "$dated"
      return 0
    fi
  done
  rm -f "$dated"
  return 1
}

if [ -d "$case_dir/expect" ]; then
  while IFS= read -r -d '' expected; do
    name=${expected#"$case_dir/expect/"}
    if [ ! -f "$scratch/$name" ]; then
      fail "$name was not written"
    elif ! same_file "$name"; then
      fail "$name differs from the expected file"
      cmp "$scratch/$name" "$expected" | head -1
    fi
    # A book the program wrote, not one that was there before, must be valid.
    if [ -f "$scratch/$name" ] && [[ $name == *.fb2 ]] && ! kept_from_start "$name"; then
      "$check_book" "$schema_dir" "$scratch/$name" || fail "$name fails the book check"
    fi
  done < <(find "$case_dir/expect" -type f -print0)
fi

listing() { (cd "$1" 2>/dev/null && find . -mindepth 1 | sort); }
present=$(listing "$scratch")
wanted=$( { listing "$case_dir/files"; listing "$case_dir/expect"; [ -z "$set_up" ] || echo "$set_up"; } | sort -u)
if [ "$present" != "$wanted" ]; then
  fail "the directory holds other files than expected"
  diff <(echo "$wanted") <(echo "$present")
fi

if [ "$failed" -eq 0 ] && [ -f "$case_dir/seconds" ] && [ -n "${VELMAR_E2E_UNTIMED:-}" ]; then
  echo "SKIP: the time bound, not checked: $VELMAR_E2E_UNTIMED (all else held)"
  exit 0
fi
[ "$failed" -eq 0 ] && echo "ok"
exit "$failed"
