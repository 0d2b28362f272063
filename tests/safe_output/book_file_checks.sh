#!/bin/sh
# What the end-to-end cases cannot hold as data: a file-size limit, a full disk, signals while
# the book is being written, concurrent runs writing one book, standard output and the input
# pipe as the book, access lists and extended attributes, and books a rename cannot replace.
# In every failure the old book must stay byte for byte as it was and no temporary file
# (.NAME.XXXXXX) may be left behind. Each check prints "ok" or "FAIL" (or "skip" with the
# reason, where this machine cannot set the case up); any FAIL fails the script.
#
# Usage: book_file_checks.sh PROGRAM [sanitized]
# ("sanitized": the program is built with sanitizers, whose own needs rule the small-stack row out)
set -u
program=$1
sanitized=${2:-}

work=$(mktemp -d)
mounted=""
cleanup() {
  [ -z "$mounted" ] || umount "$mounted" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

. "$(dirname "$0")/checks_common.sh"

# A database of about 50 MiB (a book of about 70 MiB): writing it takes long enough to be caught
# at it. The medium one still outgrows the file-size limit and the small file system below.
make_database "$work/big.xml" 150000
make_database "$work/medium.xml" 5000
make_database "$work/small.xml" 3

no_temporary() { [ -z "$(find "$1" -maxdepth 1 -name ".$2.*")" ]; }
kept_old_book() { [ "$(cat "$1")" = "$old_book" ]; }

# The program runs with the signals at their default action: a shell leaves SIGINT ignored in a
# background job, and a caller may have SIGXFSZ ignored.
if ! env --default-signal=INT true 2>/dev/null; then
  echo "FAIL - env --default-signal is needed (GNU coreutils 8.31 or later)"
  exit 1
fi

"$program" -i="$work/small.xml" -o="$work/small-ref.fb2" > /dev/null || fail "reference book"
"$program" -i="$work/big.xml" -o="$work/big-ref.fb2" > /dev/null || fail "reference book"
undated "$work/small-ref.fb2" > "$work/small.undated"
undated "$work/big-ref.fb2" > "$work/big.undated"

# --- A file-size limit: an ordinary write error, whatever the caller did with SIGXFSZ ------------
# A hard-linked book is written in place: its old bytes go aside (to TMPDIR) and come back.
for disposition in default ignored hard-linked; do
  dir="$work/limit-$disposition"
  mkdir "$dir" "$dir/tmp"
  printf '%s' "$old_book" > "$dir/book.fb2"
  [ "$disposition" != hard-linked ] || ln "$dir/book.fb2" "$dir/other.fb2"
  if [ "$disposition" = default ]; then wrapper="env --default-signal=XFSZ"; else wrapper="env --ignore-signal=XFSZ"; fi
  (ulimit -f 200 && TMPDIR="$dir/tmp" $wrapper "$program" -i="$work/medium.xml" -o="$dir/book.fb2" > "$dir/out")
  status=$?
  check "file-size limit, SIGXFSZ $disposition: exit status 1 (was $status)" [ "$status" -eq 1 ]
  check "file-size limit, SIGXFSZ $disposition: message" \
    [ "$(cat "$dir/out")" = "Can't write output file [$dir/book.fb2]" ]
  check "file-size limit, SIGXFSZ $disposition: old book intact" kept_old_book "$dir/book.fb2"
  check "file-size limit, SIGXFSZ $disposition: no temporary file" no_temporary "$dir" book.fb2
  check "file-size limit, SIGXFSZ $disposition: no copy left" [ -z "$(ls "$dir/tmp")" ]
done

# --- A signal while the book is written: the temporary file goes, the signal still kills ---------
# Any signal that ends the program, not only the usual three.
for signal_number in TERM:15 INT:2 HUP:1 QUIT:3 PIPE:13 XCPU:24; do
  signal=${signal_number%:*}
  dir="$work/signal-$signal"
  mkdir "$dir"
  printf '%s' "$old_book" > "$dir/book.fb2"
  env --default-signal "$program" -i="$work/big.xml" -o="$dir/book.fb2" > /dev/null &
  pid=$!
  seen=""
  while [ -z "$seen" ] && kill -0 "$pid" 2>/dev/null; do
    seen=$(find "$dir" -maxdepth 1 -name '.book.fb2.*')
  done
  [ -n "$seen" ] && kill -s "$signal" "$pid"
  wait "$pid"
  status=$?
  expected=$((128 + ${signal_number#*:}))
  check "SIG$signal while writing: the temporary file was seen" [ -n "$seen" ]
  check "SIG$signal while writing: died of the signal ($status, expected $expected)" \
    [ "$status" -eq "$expected" ]
  check "SIG$signal while writing: old book intact" kept_old_book "$dir/book.fb2"
  check "SIG$signal while writing: no temporary file" no_temporary "$dir" book.fb2
done

# Written in place (a hard-linked book), the signal waits until the book is whole again.
dir="$work/signal-in-place"
mkdir "$dir" "$dir/tmp"
printf '%s' "$old_book" > "$dir/book.fb2"
ln "$dir/book.fb2" "$dir/other.fb2"
TMPDIR="$dir/tmp" env --default-signal "$program" -i="$work/big.xml" -o="$dir/book.fb2" > /dev/null &
pid=$!
while [ -z "$(ls "$dir/tmp")" ] && kill -0 "$pid" 2>/dev/null; do :; done
kill -s INT "$pid"
wait "$pid"
status=$?
check "SIGINT while writing in place: died of it ($status), the book whole, no copy left" eval \
  '[ "$status" -eq 130 ] && { kept_old_book "$dir/book.fb2" || same_book "$dir/book.fb2" "$work/big.undated"; } && [ -z "$(ls "$dir/tmp")" ]'

# --- Concurrent writers of one book: one whole book, the other's or its own ----------------------
# Through a temporary file, and in place (a book with another hard link), where the runs must
# take turns.
concurrent_pairs() {  # LABEL PAIRS [linked]
  dir="$work/concurrent-$1"
  mkdir "$dir"
  failures_before=$failures
  pair=1
  while [ "$pair" -le "$2" ]; do
    rm -f "$dir/book.fb2" "$dir/other.fb2"
    printf '%s' "$old_book" > "$dir/book.fb2"
    [ -z "${3:-}" ] || ln "$dir/book.fb2" "$dir/other.fb2"
    "$program" -i="$work/big.xml" -o="$dir/book.fb2" > "$dir/out1" &
    first=$!
    # The small book is written while the large one is: once a temporary file shows or the old
    # book has changed (as it does when written in place).
    while kill -0 "$first" 2>/dev/null && no_temporary "$dir" book.fb2 && kept_old_book "$dir/book.fb2"; do
      :
    done
    "$program" -i="$work/small.xml" -o="$dir/book.fb2" > "$dir/out2" &
    second=$!
    wait "$first"
    first_status=$?
    wait "$second"
    second_status=$?
    if [ "$first_status" -ne 0 ] || [ "$second_status" -ne 0 ]; then
      fail "concurrent $1 pair $pair: exit statuses $first_status and $second_status"
    fi
    if ! same_book "$dir/book.fb2" "$work/small.undated" &&
       ! same_book "$dir/book.fb2" "$work/big.undated"; then
      fail "concurrent $1 pair $pair: the book is neither run's whole book"
    fi
    no_temporary "$dir" book.fb2 || fail "concurrent $1 pair $pair: a temporary file was left"
    pair=$((pair + 1))
  done
  [ "$failures" -eq "$failures_before" ] && ok "$2 concurrent pairs, $1: both exit 0, one whole book, no temporary file"
}
concurrent_pairs replaced 12
concurrent_pairs hard-linked 8 linked

# --- Standard output as the book --------------------------------------------------------------
dir="$work/stdout"
mkdir "$dir"
{ "$program" -i="$work/small.xml" -o=/dev/stdout; echo $? > "$dir/status"; } | cat > "$dir/piped.fb2"
check "-o=/dev/stdout into a pipe: exit status 0" [ "$(cat "$dir/status")" = 0 ]
check "-o=/dev/stdout into a pipe: the book comes through" same_book "$dir/piped.fb2" "$work/small.undated"
check "-o=/dev/stdout into a pipe: /dev/stdout is still a link" [ -L /dev/stdout ]

# Standard output by any of its names: the folder a name leads to counts, not its spelling.
for name in /dev/stdout //proc/self/fd/1 /dev/fd/./1; do
  printf 'earlier lines\n' > "$dir/appended"
  "$program" -i="$work/small.xml" -o="$name" >> "$dir/appended"
  check "-o=$name >> file: exit status 0" [ $? -eq 0 ]
  check "-o=$name >> file: earlier lines kept" [ "$(head -n 1 "$dir/appended")" = "earlier lines" ]
  tail -n +2 "$dir/appended" > "$dir/appended-book"
  check "-o=$name >> file: the book appended" same_book "$dir/appended-book" "$work/small.undated"
done

# The pipe the database comes through is the input file too: refused before anything is read
# (reading it whole first would hang on a pipe that writes back into itself).
printed=$(cat "$work/medium.xml" | timeout 60 "$program" -i=/dev/stdin -o=/dev/stdin)
status=$?
check "the input pipe as the output: exit status 1 (was $status)" [ "$status" -eq 1 ]
check "the input pipe as the output: message" [ "$printed" = "Output file [/dev/stdin] is the input file" ]

# A name of standard output, while standard output is open only for reading, is no file to
# replace: the name must stay what it is.
ln -s /proc/self/fd/1 "$dir/own-stdout"
printf '%s' "$old_book" > "$dir/read-only-stdout"
"$program" -i="$work/small.xml" -o="$dir/own-stdout" 1< "$dir/read-only-stdout"
status=$?
check "a link to /proc/self/fd/1 with read-only standard output: exit status 1 (was $status)" [ "$status" -eq 1 ]
check "a link to /proc/self/fd/1 with read-only standard output stays a link" [ -L "$dir/own-stdout" ]
check "a link to /proc/self/fd/1: no temporary file" no_temporary "$dir" own-stdout
# Nor is the file behind it opened anew by the name: under a file-size limit that would have
# left a part of the book where the old one was.
(ulimit -f 20 && "$program" -i="$work/medium.xml" -o=/dev/stdout 1< "$dir/read-only-stdout")
status=$?
check "-o=/dev/stdout with read-only standard output: exit status 1 (was $status)" [ "$status" -eq 1 ]
check "-o=/dev/stdout with read-only standard output: the file behind it intact" \
  kept_old_book "$dir/read-only-stdout"

# A database through a socket on standard input is read through the descriptor: the name
# /dev/stdin cannot be opened anew for a socket.
if command -v python3 > /dev/null; then
  python3 - "$program" "$work/small.xml" "$dir/from-socket.fb2" <<'PY'
import socket, subprocess, sys
program, database, book = sys.argv[1:]
ours, theirs = socket.socketpair()
run = subprocess.Popen([program, "-i=/dev/stdin", "-o=" + book], stdin=theirs)
theirs.close()
ours.sendall(open(database, "rb").read())
ours.shutdown(socket.SHUT_WR)
sys.exit(run.wait())
PY
  status=$?
  check "a database through a socket on standard input: exit status 0 (was $status)" [ "$status" -eq 0 ]
  check "a database through a socket on standard input: the book" same_book "$dir/from-socket.fb2" "$work/small.undated"
else
  echo "skip - a database through a socket: no python3 to make the socket"
fi

# --- The database as the output, through any descriptor that names it -----------------------------
# The check compares the database with the file the book would really go to: a descriptor
# number with leading zeros names nothing, a link to a descriptor is that descriptor, and an
# output opened for appending to the database is the database. The message lands where the
# caller sent standard output (here: the database, by >>), the book never does.
dir="$work/database"
mkdir "$dir"
ln -s /proc/self/fd/0005 "$dir/zeros"
ln -s /proc/self/fd/5 "$dir/five"
for spelling in "/dev/fd/01 >>" "/dev/stdout >>" "$dir/zeros 5<>" "$dir/five 5<>"; do
  cp "$work/small.xml" "$dir/db.xml"
  name=${spelling% *}
  case $spelling in
    *'>>') "$program" -i="$dir/db.xml" -o="$name" >> "$dir/db.xml" ;;
    *) "$program" -i="$dir/db.xml" -o="$name" 5<> "$dir/db.xml" > "$dir/out" ;;
  esac
  status=$?
  size=$(wc -c < "$work/small.xml")
  check "-o=$spelling the database: exit status 1 (was $status)" [ "$status" -eq 1 ]
  check "-o=$spelling the database: no book in it" \
    eval 'head -c "$size" "$dir/db.xml" | cmp -s - "$work/small.xml" && ! grep -q "<FictionBook" "$dir/db.xml"'
done
check "a link to a descriptor of the database: message" \
  [ "$(cat "$dir/out")" = "Output file [$dir/five] is the input file" ]

# --- A full disk, on a small tmpfs where one may be mounted ---------------------------------------
dir="$work/full"
mkdir "$dir"
if [ "$(id -u)" -eq 0 ] && mount -t tmpfs -o size=1m tmpfs "$dir" 2>/dev/null; then
  mounted="$dir"
  printf '%s' "$old_book" > "$dir/book.fb2"
  "$program" -i="$work/medium.xml" -o="$dir/book.fb2" > "$work/full-out"
  status=$?
  check "full disk: exit status 1 (was $status)" [ "$status" -eq 1 ]
  check "full disk: message" [ "$(cat "$work/full-out")" = "Can't write output file [$dir/book.fb2]" ]
  check "full disk: old book intact" kept_old_book "$dir/book.fb2"
  check "full disk: no temporary file" no_temporary "$dir" book.fb2
else
  echo "skip - full disk: a tmpfs cannot be mounted here (needs root and mount permission)"
fi

# --- Who may read or write a replaced book stays as it was ---------------------------------------
dir="$work/access"
mkdir "$dir"
printf '%s' "$old_book" > "$dir/book.fb2"
chmod 640 "$dir/book.fb2"
if setfacl -m u:nobody:rw "$dir/book.fb2" 2>/dev/null &&
   setfattr -n user.shelf -v "top left" "$dir/book.fb2" 2>/dev/null; then
  getfacl -p "$dir/book.fb2" > "$dir/acl-before" 2>/dev/null
  "$program" -i="$work/small.xml" -o="$dir/book.fb2" > /dev/null
  check "a book with an access list: replaced" same_book "$dir/book.fb2" "$work/small.undated"
  getfacl -p "$dir/book.fb2" > "$dir/acl-after" 2>/dev/null
  check "a book with an access list: the list and mode kept" cmp -s "$dir/acl-before" "$dir/acl-after"
  check "a book with an extended attribute: kept" \
    [ "$(getfattr --only-values -n user.shelf "$dir/book.fb2" 2>/dev/null)" = "top left" ]
else
  echo "skip - access lists and extended attributes: setfacl/setfattr missing, or the file system of $work keeps none"
fi

# --- Books a rename cannot replace, but an overwrite can (root sets them up) ---------------------
# Each is written in place: same file, same owner, the new book in it, no temporary file.
# "sticky": someone else's book in a shared folder (mode 1777); "foreign": someone else's book
# whose owner the new file could not take; both written by "nobody". "append-only": a folder
# that takes a new file but lets none be renamed or removed. "mount": a bind-mounted book.
written_in_place() {  # DIR OWNER INODE
  same_book "$1/book.fb2" "$work/small.undated" && [ "$(stat -c %U:%i "$1/book.fb2")" = "$2:$3" ] &&
    no_temporary "$1" book.fb2
}
if [ "$(id -u)" -eq 0 ] && command -v setpriv > /dev/null; then
  chmod 755 "$work"
  chmod 644 "$work/small.xml"
  for kind in sticky foreign append-only unlisted-append-only mount; do
    dir="$work/in-place-$kind"
    mkdir "$dir"
    printf '%s' "$old_book" > "$dir/book.fb2"
    chmod 666 "$dir/book.fb2"
    runner=""
    case $kind in
      sticky) chmod 1777 "$dir"; chown daemon "$dir/book.fb2"; runner="setpriv --reuid=nobody --regid=nogroup --clear-groups" ;;
      foreign) chmod 777 "$dir"; chown daemon "$dir/book.fb2"; runner="setpriv --reuid=nobody --regid=nogroup --clear-groups" ;;
      append-only) chattr +a "$dir" 2>/dev/null || { echo "skip - append-only folder: chattr +a refused here"; continue; } ;;
      # One "nobody" may write to but not list: its flags must be read without opening it.
      unlisted-append-only)
        chmod 0333 "$dir"; runner="setpriv --reuid=nobody --regid=nogroup --clear-groups"
        chattr +a "$dir" 2>/dev/null || { echo "skip - append-only folder: chattr +a refused here"; continue; } ;;
      mount)
        printf '%s' "$old_book" > "$dir/mounted"
        mount --bind "$dir/mounted" "$dir/book.fb2" 2>/dev/null ||
          { echo "skip - bind-mounted book: mount --bind refused here"; continue; } ;;
    esac
    before=$(stat -c %U:%i "$dir/book.fb2")
    $runner "$program" -i="$work/small.xml" -o="$dir/book.fb2" > "$dir/out"
    status=$?
    check "$kind book: exit status 0 (was $status), nothing printed" [ "$status" -eq 0 -a ! -s "$dir/out" ]
    check "$kind book: written in place" written_in_place "$dir" "${before%:*}" "${before#*:}"
    if [ "${kind#unlisted-}" = append-only ]; then
      $runner "$program" -i="$work/small.xml" -o="$dir/new.fb2" > /dev/null
      check "append-only folder, a new book: written" same_book "$dir/new.fb2" "$work/small.undated"
      check "append-only folder, a new book: no temporary file" no_temporary "$dir" new.fb2
      chattr -a "$dir"
    fi
    [ "$kind" = mount ] && umount "$dir/book.fb2"
  done
  # A name made at the book's place while an append-only folder's database is read: not the
  # run's to write. The database comes through a pipe, so the name is made just then.
  dir="$work/in-place-append-only" && chattr +a "$dir" 2>/dev/null && mkfifo "$work/slow.xml" &&
  cp "$work/small.xml" "$work/victim.xml" && {
    "$program" -i="$work/slow.xml" -o="$dir/late.fb2" > "$dir/out" &
    pid=$!
    { sleep 0.5; ln "$work/victim.xml" "$dir/late.fb2"; cat "$work/small.xml"; } > "$work/slow.xml"
    wait "$pid"
    status=$?
    check "append-only folder, a name made meanwhile: exit status 1 (was $status), the file kept" \
      eval '[ "$status" -eq 1 ] && cmp -s "$work/victim.xml" "$work/small.xml"'
    chattr -a "$dir"
  }
else
  echo "skip - books a rename cannot replace: setting them up needs root and setpriv"
fi

# --- A path as long as the system takes, for a new book and over an old one ------------------------
# The temporary file's own path would be longer: it is made in the folder held open.
dir="$work/long"
long=$dir
# Folders of at most 200 bytes a name up to 3940 bytes, then a book name of 150 bytes.
while [ $((${#long} + 201)) -le 3940 ]; do long=$long/$(printf '%0200d' 0); done
long=$long/$(printf '%0*d' $((3940 - ${#long} - 1)) 0)
mkdir -p "$long"
long=$long/$(printf '%0150d' 0)
for before in new old; do
  [ "$before" = new ] || printf '%s' "$old_book" > "$long"
  "$program" -i="$work/small.xml" -o="$long" > "$dir/out"
  status=$?
  check "a ${#long}-byte path, $before book: exit status 0 (was $status)" [ "$status" -eq 0 ]
  check "a ${#long}-byte path, $before book: written" same_book "$long" "$work/small.undated"
  check "a ${#long}-byte path, $before book: no temporary file" no_temporary "${long%/*}" "${long##*/}"
done

# --- What only root meets ------------------------------------------------------------------------
if [ "$(id -u)" -eq 0 ]; then
  dir="$work/root"
  mkdir "$dir"
  # A read-only book is refused, though root could write it.
  printf '%s' "$old_book" > "$dir/book.fb2"
  chmod 444 "$dir/book.fb2"
  "$program" -i="$work/small.xml" -o="$dir/book.fb2" > "$dir/out"
  status=$?
  check "as root, a read-only book: exit status 1 (was $status), kept" \
    eval '[ "$status" -eq 1 ] && kept_old_book "$dir/book.fb2"'
  # One file under two names of an overlay mount: the upper layer's and the merged view's.
  mkdir "$dir/lower" "$dir/upper" "$dir/layers" "$dir/merged"
  if mount -t overlay overlay -o "lowerdir=$dir/lower,upperdir=$dir/upper,workdir=$dir/layers" "$dir/merged" 2>/dev/null; then
    for way in "upper merged" "merged upper"; do
      cp "$work/small.xml" "$dir/upper/db.xml"
      "$program" -i="$dir/${way% *}/db.xml" -o="$dir/${way#* }/db.xml" > "$dir/out"
      status=$?
      check "the database through the $way layer: exit status 1 (was $status), untouched" \
        eval '[ "$status" -eq 1 ] && cmp -s "$dir/upper/db.xml" "$work/small.xml"'
    done
    umount "$dir/merged"
  else
    echo "skip - one file under two names of an overlay mount: overlayfs cannot be mounted here"
  fi
fi

# --- Links the system follows otherwise than their text reads --------------------------------------
# Another program's descriptor of a deleted file reads "NAME (deleted)"; no file of that name
# may be made.
dir="$work/other-descriptor"
mkdir "$dir"
printf '%s' "$old_book" > "$dir/victim"
sleep 60 3>> "$dir/victim" &
holder=$!
rm "$dir/victim"
"$program" -i="$work/small.xml" -o="/proc/$holder/fd/3" > "$dir/out"
status=$?
check "another program's descriptor of a deleted file: exit status 1 (was $status), no file made" \
  eval '[ "$status" -eq 1 ] && [ "$(ls "$dir")" = out ]'
kill "$holder"

# --- A book written in place that another program keeps locked: waited for a few seconds --------
dir="$work/locked"
mkdir "$dir"
printf '%s' "$old_book" > "$dir/book.fb2"
ln "$dir/book.fb2" "$dir/other.fb2"
if command -v flock > /dev/null; then
  flock "$dir/other.fb2" sleep 30 &
  holder=$!
  sleep 0.3
  timeout 20 "$program" -i="$work/small.xml" -o="$dir/book.fb2" > "$dir/out"
  status=$?
  kill "$holder"
  check "a locked book: exit status 1 (was $status) within the wait" [ "$status" -eq 1 ]
  check "a locked book: message, old book kept" \
    eval '[ "$(cat "$dir/out")" = "Can'"'"'t open output file [$dir/book.fb2]" ] && kept_old_book "$dir/book.fb2"'
else
  echo "skip - a locked book: no flock command"
fi
# Nor is one rewritten whose old bytes cannot be copied aside first.
TMPDIR=$dir/missing "$program" -i="$work/small.xml" -o="$dir/book.fb2" > "$dir/out"
status=$?
check "no room for the old book's copy: exit status 1 (was $status), the book kept" \
  eval '[ "$status" -eq 1 ] && kept_old_book "$dir/book.fb2"'

# --- Standard input and output closed: no file of the run takes their place -----------------------
# A message longer than the output buffer would otherwise land in whatever took descriptor 1.
dir="$work/closed"
mkdir "$dir"
cp "$work/small.xml" "$dir/db.xml"
name=$dir/$(printf './%.0s' $(seq 2028))db.xml
"$program" -i=/dev/fd/5 -o="$name" 5< "$dir/db.xml" <&- >&-
status=$?
check "closed standard input and output: exit status 1 (was $status), the database untouched" \
  eval '[ "$status" -eq 1 ] && cmp -s "$dir/db.xml" "$work/small.xml"'

# --- A write that makes no progress (a broken file system) is a failure, not a loop ---------------
dir="$work/no-progress"
mkdir "$dir"
printf '%s' "$old_book" > "$dir/book.fb2"
cat > "$dir/shim.c" <<'SHIM'
#define _GNU_SOURCE
#include <sys/syscall.h>
#include <unistd.h>
/* Every write to a file the program opened itself writes nothing and reports no error. */
ssize_t write(int fd, const void *bytes, size_t count) {
  return fd > 2 ? 0 : syscall(SYS_write, fd, bytes, count);
}
SHIM
if cc -shared -fPIC -o "$dir/shim.so" "$dir/shim.c" 2>/dev/null; then
  timeout 60 env LD_PRELOAD="$dir/shim.so" "$program" -i="$work/small.xml" -o="$dir/book.fb2" > "$dir/out"
  status=$?
  check "writes that make no progress: exit status 1 (was $status)" [ "$status" -eq 1 ]
  check "writes that make no progress: message" [ "$(cat "$dir/out")" = "Can't write output file [$dir/book.fb2]" ]
  check "writes that make no progress: old book intact" kept_old_book "$dir/book.fb2"
  check "writes that make no progress: no temporary file" no_temporary "$dir" book.fb2
else
  echo "skip - writes that make no progress: no C compiler to build the shim"
fi
# A file system that keeps no owners (FAT through FUSE) answers a change of owner with ENOSYS:
# nothing to carry over, and no reason to rewrite the book in place.
printf '#include <errno.h>\nint fchown(int f, unsigned u, unsigned g) { (void)f; (void)u; (void)g; errno = 38; return -1; }\n' > "$dir/owners.c"
if [ "$(id -u)" -eq 0 ] && cc -shared -fPIC -o "$dir/owners.so" "$dir/owners.c" 2>/dev/null; then
  chown daemon "$dir/book.fb2"
  before=$(stat -c %i "$dir/book.fb2")
  env LD_PRELOAD="$dir/owners.so" "$program" -i="$work/small.xml" -o="$dir/book.fb2" > "$dir/out"
  status=$?
  check "no owners on the file system: exit status 0 (was $status), replaced, not rewritten" \
    eval '[ "$status" -eq 0 ] && same_book "$dir/book.fb2" "$work/small.undated" && [ "$(stat -c %i "$dir/book.fb2")" != "$before" ]'
fi

# --- A small stack ------------------------------------------------------------------------------
if [ "$sanitized" = sanitized ]; then
  echo "skip - a 128 KiB stack: the sanitizers' own frames need more"
else
  (ulimit -s 128 && "$program" -i="$work/medium.xml" -o="$work/small-stack.fb2" > /dev/null)
  status=$?
  check "a 128 KiB stack: exit status 0 (was $status)" [ "$status" -eq 0 ]
fi

if [ "$failures" -ne 0 ]; then
  echo "$failures check(s) failed"
  exit 1
fi
echo "all checks passed"
