# What the book file checks share (sourced by book_file_checks.sh and windows_book_checks.sh):
# reporting each check, the generated databases and comparing books.

failures=0
ok() { echo "ok   - $1"; }
fail() { echo "FAIL - $1"; failures=$((failures + 1)); }
check() {
  description=$1
  shift
  if "$@"; then ok "$description"; else fail "$description"; fi
}

# FILE RECORDS [REVIEW]: a database of that many records, each with REVIEW as its review (by
# default a text that makes a record about 350 bytes).
make_database() {
  awk -v records="$2" -v review="${3:-}" 'BEGIN {
    print "<?xml version=\"1.0\" encoding=\"windows-1251\"?>"
    print "<db>"
    if (review == "") {
      review = "A review of the disc, long enough to make the book large; "
      review = review review review review
    }
    for (i = 0; i < records; i++)
      printf "<VelmarList><nameR>Title %d</nameR><nameO>Original &amp; title %d</nameO>" \
             "<sign>DVD-%06d</sign><obz>%s</obz></VelmarList>\n", i, i, i, review
    print "</db>"
  }' > "$1"
}

old_book="an older book, which must survive"
# The book without its date line, which changes with the clock.
undated() { sed '/<date value=/d' "$1"; }
same_book() { undated "$1" | cmp -s - "$2"; }
