#!/bin/sh
# What other programs do to the book on Windows while the converter runs, under the emulator: a
# reader holding the old book, a scanner or sync client opening each new file for a moment, two
# runs on one book, Ctrl+C. hold_file plays the other programs. As in book_file_checks.sh, a run
# that fails keeps the old book byte for byte, no temporary file (.NAME.XXXXXX) may be left, and
# each check prints "ok" or "FAIL"; any FAIL fails the script.
#
#   VELMAR_WINDOWS_WRAPPER  the command that runs a Windows program (wine)
#   VELMAR_32BIT_EMULATOR   set when that program runs under a processor emulator (qemu-i386):
#                           a signal then reaches the emulator, never the console event of the
#                           program inside it, and a scanner's moment is too slow to catch the
#                           temporary file, so those checks are skipped, saying why
# Usage: windows_book_checks.sh /PATH/TO/PROGRAM.exe /PATH/TO/HOLD_FILE.exe
set -u
program=$1
holder=$2
run=${VELMAR_WINDOWS_WRAPPER:-}
emulator=${VELMAR_32BIT_EMULATOR:-}

. "$(dirname "$0")/checks_common.sh"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# Every name is relative to the row's folder: the emulator sees Unix paths only through a drive.
cd "$work" || exit 1

# About 40 MiB of database: the book takes long enough to write to be caught at it.
make_database big.xml 120000
make_database medium.xml 2000
make_database small.xml 3
# A review of 240 double quotes, each "&quot;" in the book: six times the database, so the book
# takes long to write beside the time it takes to read.
make_database quotes.xml 40000 "$(printf '%0240d' 0 | tr 0 '"')"

# shellcheck disable=SC2086  # the wrapper is a command line of its own
converter() { $run "$program" "$@"; }

no_temporary() { [ -z "$(find . -maxdepth 1 -name '.book.fb2.*')" ]; }
kept_old_book() { [ "$(cat book.fb2)" = "$old_book" ]; }

for database in big medium small quotes; do
  converter -i=$database.xml -o=$database.fb2 > /dev/null || { echo "FAIL - a reference book"; exit 1; }
  undated $database.fb2 > $database.undated
done

# --- Another program holding the old book, or each new file, from before the run ---------------
# A moment's hold is waited for; a longer one fails the run, which then changes nothing. The
# scanner (a virus scanner, a sync client) opens the temporary file as it appears, and is refused
# unless it lets the file be renamed and removed. A locked book is one with another link, written
# in place. A pipe's writer that disconnects ends the database as one that closes it does.
rows=0
while read -r status message database holding; do
  row="another program: $holding"
  rows=$((rows + 1))
  mkdir "$work/row-$rows" && cd "$work/row-$rows" || exit 1
  printf '%s' "$old_book" > book.fb2
  input=../$database.xml
  case $holding in
    lock*) ln book.fb2 link.fb2 ;;
    pipe*) input=$(echo "$holding" | cut -d ' ' -f 2) ;;
  esac
  : > out  # made now, or the scanner would take it for one of the run's files
  # shellcheck disable=SC2086
  $run "$holder" $holding < /dev/null > holder.out &
  holder_pid=$!
  # The run starts once the file is held or the folder watched.
  while kill -0 "$holder_pid" 2>/dev/null && ! grep -qs ready holder.out; do sleep 0.01; done
  converter -i="$input" -o=book.fb2 < /dev/null > out
  actual=$?
  wait "$holder_pid"
  check "$row: exit status $status (was $actual)" [ "$actual" -eq "$status" ]
  if [ "$status" -eq 0 ]; then
    check "$row: the new book" same_book book.fb2 "../$database.undated"
  else
    # The program ends each line it prints with CR LF.
    check "$row: says \"Can't $message output file\"" \
      [ "$(cat out)" = "$(printf "Can't %s output file [book.fb2]\r" "$message")" ]
    check "$row: old book intact" kept_old_book
  fi
  check "$row: no temporary file" no_temporary
  case $holding in
    scan*d*)
      if [ -n "$emulator" ]; then
        echo "skip - $row: the scanner opened the temporary file (too slow to catch it under $emulator)"
      else
        check "$row: the scanner opened the temporary file" grep -q '^\.book\.fb2\.' holder.out
      fi ;;
  esac
done <<EOF
0 - small hold book.fb2 rw 1500
1 write small hold book.fb2 rw 6000
1 open small hold book.fb2 none 6000
0 - big scan . rwd 800 3000
0 - small scan . r 6000 6500
0 - small scan . rw 9000 9500
1 open small lock book.fb2 rwd 6000
0 - medium pipe //./pipe/velmar-book-checks ../medium.xml
EOF

# --- Two runs on one book: both succeed, and the book is one run's whole book --------------------
# Small books through a temporary, started together: one looks at the book as the other replaces
# it. A book with another link is written in place: a small book starts once a big one has.
while read -r kind first_database second_database; do
  mkdir "$work/pairs-$kind" && cd "$work/pairs-$kind" || exit 1
  failures_before=$failures
  for pair in 1 2 3 4 5 6 7 8 9 10; do
    rm -f link.fb2
    printf '%s' "$old_book" > book.fb2
    [ "$kind" = ordinary ] || ln book.fb2 link.fb2
    converter -i="../$first_database.xml" -o=book.fb2 < /dev/null > out1 &
    first=$!
    # The book is emptied as the first run begins writing; only its start is read, to see it soon.
    [ "$kind" = ordinary ] ||
      while kill -0 "$first" 2>/dev/null && [ "$(head -c 8 book.fb2)" = "an older" ]; do :; done
    converter -i="../$second_database.xml" -o=book.fb2 < /dev/null > out2 &
    second=$!
    wait "$first"
    statuses=$?
    wait "$second"
    statuses="$statuses $?"
    [ "$statuses" = "0 0" ] || fail "$kind book, pair $pair: exit statuses $statuses"
    same_book book.fb2 "../$first_database.undated" || same_book book.fb2 "../$second_database.undated" ||
      fail "$kind book, pair $pair: the book is neither run's whole book"
    [ "$kind" = ordinary ] || cmp -s book.fb2 link.fb2 ||
      fail "$kind book, pair $pair: the other link does not see the book"
    no_temporary || fail "$kind book, pair $pair: a temporary file was left"
  done
  [ "$failures" -eq "$failures_before" ] &&
    ok "$kind book, 10 pairs of runs: both exit 0, one whole book, no temporary file"
done <<EOF
ordinary medium medium
linked big small
EOF

# --- Ctrl+C while an old book is replaced ------------------------------------------------------
# The emulator turns SIGINT into the console's Ctrl+C event, sent from the moment the temporary
# file appears to past the commit. The book is the old one or the new whole one, never none; the
# run ends with the event's status (STATUS_CONTROL_C_EXIT, of which the emulator keeps the low
# byte, 58), or with 0 only where the event came as it was ending, the new book in place.
if [ -n "$emulator" ]; then
  echo "skip - Ctrl+C: under $emulator the signal reaches the emulator, not the program's console"
else
  mkdir "$work/ctrl-c" && cd "$work/ctrl-c" || exit 1
  # The process that runs the program in this folder: under wine32 a launcher of wine's starts it as
  # a process of its own, and the event must reach that one.
  program_process() {
    for cwd in $(find /proc/[0-9]*/cwd -maxdepth 0 -lname "*$PWD" 2>/dev/null); do
      entry=${cwd%/cwd}
      case $( { tr '\0' '\n' < "$entry/cmdline"; } 2>/dev/null | head -n 1) in
        *"$(basename "$program")") echo "${entry#/proc/}" && return ;;
      esac
    done
  }
  # Ctrl+C while the database is read, before any temporary file exists: the run ends as the
  # event ends it, never with 0, and the old book stays.
  printf '%s' "$old_book" > book.fb2
  # shellcheck disable=SC2086
  env --default-signal=INT $run "$program" -i=../big.xml -o=book.fb2 > out &
  pid=$!
  until target=$(program_process) && ls -l "/proc/${target:-0}/fd" 2>/dev/null | grep -q 'big\.xml'; do
    kill -0 "$pid" 2>/dev/null || break
  done
  kill -s INT "${target:-$pid}" 2>/dev/null
  wait "$pid"
  status=$?
  check "Ctrl+C while the database is read: exit status 58 (was $status), the old book, no temporary file" \
    [ "$status $(kept_old_book && no_temporary && echo kept)" = "58 kept" ]
  failures_before=$failures
  ended=0
  silent=0
  replaced=0
  for attempt in 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15; do
    printf '%s' "$old_book" > book.fb2
    # shellcheck disable=SC2086
    env --default-signal=INT $run "$program" -i=../quotes.xml -o=book.fb2 > out &
    pid=$!
    # Found while the database is read: the book is written in a quarter of a second, which a look
    # through /proc after the temporary file appears would take much of.
    until target=$(program_process) && [ -n "$target" ]; do kill -0 "$pid" 2>/dev/null || break; done
    while kill -0 "$pid" 2>/dev/null && no_temporary; do :; done
    sleep "$(awk -v attempt="$attempt" 'BEGIN { print (attempt - 1) * 0.01 }')"
    [ -z "$target" ] || kill -s INT "$target" 2>/dev/null
    wait "$pid"
    status=$?
    kept_old_book || same_book book.fb2 ../quotes.undated ||
      fail "Ctrl+C, run $attempt: neither the old book nor the new whole one"
    case $status in
      58) ended=$((ended + 1)) && ! kept_old_book && replaced=$((replaced + 1)) ;;
      # The event came as the run was ending.
      0) same_book book.fb2 ../quotes.undated || fail "Ctrl+C, run $attempt: exit status 0 without the new book" ;;
      # Now and then under the emulator (3 runs in about 350 so far, two of them in one set of 15
      # on a loaded machine) a run ends with 1 and nothing said. The program itself never does:
      # each way it ends with 1 writes its message first, straight to the file. The book is still
      # checked above and the temporary file below, and more than 3 in a set still fail.
      1) if [ -s out ]; then
           fail "Ctrl+C, run $attempt: exit status 1, said: $(tr -d '\r\n' < out)"
         else
           silent=$((silent + 1))
         fi ;;
      *) fail "Ctrl+C, run $attempt: exit status $status, said: $(tr -d '\r\n' < out)" ;;
    esac
    no_temporary || fail "Ctrl+C, run $attempt: a temporary file was left"
  done
  check "Ctrl+C: the event ended at least 5 of 15 runs ($ended)" [ "$ended" -ge 5 ]
  check "Ctrl+C: at most 3 of 15 runs ended with 1 and nothing said ($silent)" [ "$silent" -le 3 ]
  [ "$failures" -eq "$failures_before" ] &&
    ok "Ctrl+C, 15 runs: the old book or the new whole one ($replaced of those it ended), no temporary file"
fi

[ "$failures" -eq 0 ]
