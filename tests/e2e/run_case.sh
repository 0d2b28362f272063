#!/usr/bin/env bash
# Runs one end-to-end case against the real program and compares everything it does.
#
# A case is a directory:
#   args     the arguments, one per line (@SOURCE_DIR@ stands for the repository)
#   stdout   the exact standard output expected
#   status   the exit status expected
#   files/   copied into an empty scratch directory, which the program runs in
#   expect/  files that must be in the scratch directory afterwards, byte for byte
#   setup    optional shell script run in the scratch directory before the program, for what
#            git cannot store (symbolic and hard links); what it makes may stay
# After the run the scratch directory must hold exactly the files of files/ and expect/: no
# stray or partial book. Every book the program wrote is also checked against the schema.
#
# The clock is fixed at 09:05 on 1 November 2004 (local time, UTC) for the date line.
# VELMAR_E2E_WRAPPER, when set, is a command prefix for the program (valgrind, say).
#
# Usage: run_case.sh PROGRAM CASE_DIR SOURCE_DIR
set -u
program=$1
case_dir=$2
source_dir=$3
check_book="$source_dir/tests/tools/check_book.sh"
schema_dir="$source_dir/tests/data/fb2-schema"

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

# shellcheck disable=SC2086  # the wrapper is a command line of its own
(cd "$scratch" && TZ=UTC faketime '2004-11-01 09:05:00' ${VELMAR_E2E_WRAPPER:-} \
  "$program" "${arguments[@]}" > "$actual_stdout")
status=$?

failed=0
fail() { echo "FAIL: $*"; failed=1; }

expected_status=$(cat "$case_dir/status")
[ "$status" -eq "$expected_status" ] || fail "exit status $status, expected $expected_status"

if ! cmp -s "$actual_stdout" "$case_dir/stdout"; then
  fail "standard output differs"
  diff <(cat -A "$case_dir/stdout") <(cat -A "$actual_stdout") | head -20
fi
rm -f "$actual_stdout"

if [ -d "$case_dir/expect" ]; then
  while IFS= read -r -d '' expected; do
    name=${expected#"$case_dir/expect/"}
    if [ ! -f "$scratch/$name" ]; then
      fail "$name was not written"
    elif ! cmp -s "$scratch/$name" "$expected"; then
      fail "$name differs from the expected file"
      cmp "$scratch/$name" "$expected" | head -1
    fi
    # A book the program wrote, not one that was there before, must be valid.
    if [ -f "$scratch/$name" ] && [[ $name == *.fb2 ]] && [ ! -e "$case_dir/files/$name" ]; then
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

[ "$failed" -eq 0 ] && echo "ok"
exit "$failed"
