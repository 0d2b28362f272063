#!/bin/sh
# What other programs do to the book on Windows while the converter runs, under the emulator: a
# reader holding the old book, a scanner or sync client opening each new file for a moment, two
# runs on one book, Ctrl+C. hold_file plays the other programs. As in book_file_checks.sh, a run
# that fails keeps the old book byte for byte, no temporary file (.NAME.XXXXXX) may be left, and
# each check prints "ok" or "FAIL"; any FAIL fails the script.
#
#   VELMAR_WINDOWS_WRAPPER  the command that runs a Windows program (wine)
# Usage: windows_book_checks.sh PROGRAM.exe HOLD_FILE.exe
set -u
absolute() { echo "$(cd "$(dirname "$1")" && pwd)/$(basename "$1")"; }
program=$(absolute "$1")
holder=$(absolute "$2")
run=${VELMAR_WINDOWS_WRAPPER:-}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# Every name is relative to the row's folder: the emulator sees Unix paths only through a drive.
cd "$work" || exit 1

failures=0
ok() { echo "ok   - $1"; }
fail() { echo "FAIL - $1"; failures=$((failures + 1)); }
check() {
  description=$1
  shift
  if "$@"; then ok "$description"; else fail "$description"; fi
}

# make_database FILE RECORDS TITLE. The big one (about 40 MiB) takes long enough to write to be
# caught at it; the titles tell two books apart.
make_database() {
  awk -v records="$2" -v title="$3" 'BEGIN {
    print "<?xml version=\"1.0\" encoding=\"windows-1251\"?>"
    print "<db>"
    review = "A review of the disc, long enough to make the book large; "
    review = review review review review
    for (i = 0; i < records; i++)
      printf "<VelmarList><nameR>%s %d</nameR><nameO>Original &amp; title %d</nameO>" \
             "<sign>DVD-%06d</sign><obz>%s</obz></VelmarList>\n", title, i, i, i, review
    print "</db>"
  }' > "$1"
}
make_database big.xml 120000 Title
make_database other.xml 110000 Other
make_database medium.xml 2000 Title
make_database small.xml 3 Title

# shellcheck disable=SC2086  # the wrapper is a command line of its own
converter() { $run "$program" "$@"; }
# Starts hold_file with ARGUMENTS, its output in FILE, and waits until it holds or watches.
start_holder() {
  holder_output=$1
  shift
  # shellcheck disable=SC2086
  $run "$holder" "$@" > "$holder_output" &
  holder_pid=$!
  while kill -0 "$holder_pid" 2>/dev/null && ! grep -qs ready "$holder_output"; do sleep 0.01; done
}

old_book="an older book, which must survive"
undated() { sed '/<date value=/d' "$1"; }
same_book() { undated "$1" | cmp -s - "$2"; }
no_temporary() { [ -z "$(find . -maxdepth 1 -name '.book.fb2.*')" ]; }
kept_old_book() { [ "$(cat book.fb2)" = "$old_book" ]; }
# The program ends each line it prints with CR LF.
said() { [ "$(cat out)" = "$(printf '%s\r' "$1")" ]; }

for database in big other medium small; do
  if ! converter -i=$database.xml -o=$database-ref.fb2 > /dev/null; then
    echo "FAIL - the reference book"
    exit 1
  fi
  undated $database-ref.fb2 > $database.undated
done

# --- The old book held by another program from before the run -----------------------------------
# A moment's hold is waited for; a longer one fails the run, which changes nothing.
while read -r share hold status message; do
  row="old book held, sharing $share, for $hold ms"
  mkdir "$work/held-$share-$hold" && cd "$work/held-$share-$hold" || exit 1
  printf '%s' "$old_book" > book.fb2
  start_holder holder.out hold book.fb2 "$share" "$hold" < /dev/null
  converter -i=../small.xml -o=book.fb2 < /dev/null > out
  actual=$?
  check "$row: exit status $status (was $actual)" [ "$actual" -eq "$status" ]
  if [ "$status" -eq 0 ]; then
    check "$row: the new book" same_book book.fb2 ../small.undated
  else
    check "$row: says \"$message\"" said "$message [book.fb2]"
    check "$row: old book intact" kept_old_book
  fi
  check "$row: no temporary file" no_temporary
  wait "$holder_pid"
done <<EOF
rw 1500 0 -
rw 6000 1 Can't write output file
none 6000 1 Can't open output file
EOF

# --- A scanner opening each new file for 0.8 s, sharing read and write ---------------------------
mkdir "$work/scanner" && cd "$work/scanner" || exit 1
printf '%s' "$old_book" > book.fb2
: > out  # made now, or the scanner would take it for one of the run's files
start_holder scanner.out scan . rw 800 3000
converter -i=../big.xml -o=book.fb2 > out
status=$?
wait "$holder_pid"
check "scanner: it opened the temporary file" grep -q '^\.book\.fb2\.' scanner.out
check "scanner: exit status 0 (was $status)" [ "$status" -eq 0 ]
check "scanner: the new book" same_book book.fb2 ../big.undated
check "scanner: no temporary file" no_temporary

# --- Two runs on one book: both succeed, and the book is one run's whole book --------------------
# Started together. Small books through a temporary: one looks at the book as the other replaces
# it. Big books in place (the book has another link): both write at once.
while read -r kind first_database second_database; do
  mkdir "$work/pairs-$kind" && cd "$work/pairs-$kind" || exit 1
  failures_before=$failures
  pair=1
  while [ "$pair" -le 10 ]; do
    rm -f link.fb2
    printf '%s' "$old_book" > book.fb2
    [ "$kind" = ordinary ] || ln book.fb2 link.fb2
    converter -i="../$first_database.xml" -o=book.fb2 < /dev/null > out1 &
    first=$!
    converter -i="../$second_database.xml" -o=book.fb2 < /dev/null > out2 &
    second=$!
    wait "$first"
    first_status=$?
    wait "$second"
    second_status=$?
    if [ "$first_status" -ne 0 ] || [ "$second_status" -ne 0 ]; then
      fail "$kind book, pair $pair: exit statuses $first_status and $second_status"
    fi
    if ! same_book book.fb2 "../$first_database.undated" &&
       ! same_book book.fb2 "../$second_database.undated"; then
      fail "$kind book, pair $pair: the book is neither run's whole book"
    fi
    if [ "$kind" = linked ] && ! cmp -s book.fb2 link.fb2; then
      fail "$kind book, pair $pair: the other link does not see the book"
    fi
    no_temporary || fail "$kind book, pair $pair: a temporary file was left"
    pair=$((pair + 1))
  done
  [ "$failures" -eq "$failures_before" ] &&
    ok "$kind book, 10 pairs of runs: both exit 0, one whole book, no temporary file"
done <<EOF
ordinary medium medium
linked big other
EOF

# --- Ctrl+C while an old book is replaced ------------------------------------------------------
# The emulator turns SIGINT into the console's Ctrl+C event, sent from the moment the temporary
# file appears to past the commit. The run ends with the event's status (STATUS_CONTROL_C_EXIT,
# of which the emulator keeps the low byte, 58), or with 0 where the event came as it was
# ending, the new book in place; the book is the old one or the new whole one, never none.
mkdir "$work/ctrl-c" && cd "$work/ctrl-c" || exit 1
failures_before=$failures
ended=0
attempt=0
while [ "$attempt" -lt 15 ]; do
  attempt=$((attempt + 1))
  printf '%s' "$old_book" > book.fb2
  # shellcheck disable=SC2086
  env --default-signal=INT $run "$program" -i=../big.xml -o=book.fb2 > out &
  pid=$!
  while kill -0 "$pid" 2>/dev/null && no_temporary; do :; done
  sleep "$(awk -v attempt="$attempt" 'BEGIN { print attempt * 0.006 }')"
  kill -s INT "$pid" 2>/dev/null
  wait "$pid"
  status=$?
  if kept_old_book; then
    book=old
  elif same_book book.fb2 ../big.undated; then
    book=new
  else
    book=none
    fail "Ctrl+C, run $attempt: neither the old book nor the new whole book"
  fi
  if [ "$status" -eq 58 ]; then
    ended=$((ended + 1))
  elif [ "$status" -ne 0 ] || [ "$book" != new ]; then
    fail "Ctrl+C, run $attempt: exit status $status, the $book book, said: $(tr -d '\r\n' < out)"
  fi
  no_temporary || fail "Ctrl+C, run $attempt: a temporary file was left"
done
check "Ctrl+C: the event ended at least 5 of 15 runs ($ended)" [ "$ended" -ge 5 ]
[ "$failures" -eq "$failures_before" ] &&
  ok "Ctrl+C, 15 runs: the old book or the new whole one, no temporary file"

[ "$failures" -eq 0 ]
