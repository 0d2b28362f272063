#!/usr/bin/env bash
# Opens a written book with an independent FictionBook reader (pandoc's fb2 reader) and checks
# that the text comes through intact, Cyrillic included.
#
# The book is windows-1251 with CR LF line ends; pandoc reads only UTF-8, so the book is first
# converted with iconv and its XML declaration rewritten to match. pandoc then turns it into
# plain text (the book title and author first, then one line per paragraph), and every EXPECTED
# string (UTF-8) must occur in that text.
#
# Usage: check_with_reader.sh BOOK [EXPECTED...]
# Exit status: 0 when pandoc read the book and every expected string was found, 1 otherwise,
# 2 on a usage error or when iconv or pandoc is missing.
set -u
LC_ALL=C.UTF-8
export LC_ALL

if [ $# -lt 1 ]; then
  echo "usage: check_with_reader.sh BOOK [EXPECTED...]" >&2
  exit 2
fi
book=$1
shift
for tool in iconv pandoc; do
  if ! command -v "$tool" >/dev/null 2>&1; then
    echo "check_with_reader: $tool is not installed (on Debian: apt-get install pandoc)" >&2
    exit 2
  fi
done
if [ ! -r "$book" ]; then
  echo "check_with_reader: cannot read $book" >&2
  exit 1
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The declaration is rewritten only when it says windows-1251, as every book of ours does.
if ! head -n 1 "$book" | grep -q '^<?xml version="1.0" encoding="windows-1251"?>'; then
  echo "check_with_reader: $book does not start with a windows-1251 XML declaration" >&2
  exit 1
fi
if ! iconv -f windows-1251 -t utf-8 "$book" >"$work/book.cp1251-decoded"; then
  echo "check_with_reader: $book is not valid windows-1251 text" >&2
  exit 1
fi
sed -e 's/\r$//' -e '1s/encoding="windows-1251"/encoding="UTF-8"/' \
  "$work/book.cp1251-decoded" >"$work/book.fb2"

if ! pandoc -f fb2 -t plain --standalone --wrap=none -o "$work/book.txt" "$work/book.fb2" 2>"$work/pandoc.err"; then
  echo "check_with_reader: pandoc could not read $book as FictionBook:" >&2
  cat "$work/pandoc.err" >&2
  exit 1
fi
if ! grep -q '[^[:space:]]' "$work/book.txt"; then
  echo "check_with_reader: pandoc read no text at all from $book" >&2
  exit 1
fi

missing=0
for expected in "$@"; do
  if ! grep -qF -e "$expected" "$work/book.txt"; then
    echo "check_with_reader: not in pandoc's reading of $book: $expected" >&2
    missing=$((missing + 1))
  fi
done
if [ "$missing" -ne 0 ]; then
  echo "check_with_reader: $missing of $# expected strings missing; pandoc's text was:" >&2
  sed 's/^/  | /' "$work/book.txt" >&2
  exit 1
fi
echo "check_with_reader: pandoc read $book; all $# expected strings found"
exit 0
