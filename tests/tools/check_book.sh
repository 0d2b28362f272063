#!/usr/bin/env bash
# Checks that a written book is well-formed XML and valid FictionBook 2.0, apart from exactly
# what the book's fixed template forces on it:
#   - the genre "DVD List" is not in the format's list of genres;
#   - the date value is written without zero padding (2004-11-1), which xs:date rejects;
#   - the note sections carry numeric ids (0, 1, ...), which xs:ID rejects.
# Any other complaint fails the check.
# Usage: check_book.sh SCHEMA_DIR BOOK
set -u
schema_dir=$1
book=$2

if ! xmllint --noout "$book"; then
  echo "check_book: $book is not well-formed XML" >&2
  exit 1
fi

report=$(xmllint --noout --schema "$schema_dir/FictionBook.xsd" "$book" 2>&1)
unexpected=$(printf '%s\n' "$report" | grep -v -E \
  -e "element genre: Schemas validity error : Element '\{http://www.gribuser.ru/xml/fictionbook/2.0\}genre': \[facet 'enumeration'\] The value 'DVD List' is not an element of the set" \
  -e "element date: Schemas validity error : Element '\{http://www.gribuser.ru/xml/fictionbook/2.0\}date', attribute 'value': '[0-9]{4}-[0-9]{1,2}-[0-9]{1,2}' is not a valid value of the atomic type 'xs:date'\.$" \
  -e "element section: Schemas validity error : Element '\{http://www.gribuser.ru/xml/fictionbook/2.0\}section', attribute 'id': '[0-9]+' is not a valid value of the atomic type 'xs:ID'\.$" \
  -e "(fails to validate|validates)$" \
  -e '^$')
if [ -n "$unexpected" ]; then
  echo "check_book: $book breaks the FictionBook schema:" >&2
  printf '%s\n' "$unexpected" >&2
  exit 1
fi
exit 0
