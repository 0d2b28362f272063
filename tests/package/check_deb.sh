#!/usr/bin/env bash
# Checks a built Debian package the way a user meets it, in a throwaway root (dpkg --root), whose
# package database is a copy of this machine's: dpkg checks the dependencies against what is
# installed here, and nothing of this machine is touched.
#   1. dpkg -i installs it, with its dependencies met;
#   2. the installed program converts the example database to the same book, byte for byte, as
#      the program the package was built from (the date line aside: each run writes its own);
#   3. the manual page is there, readable by man;
#   4. dpkg --purge removes it and leaves nothing behind but dpkg's own database.
#
# Usage: check_deb.sh PACKAGE.deb BUILT_PROGRAM EXAMPLE.xml
set -euo pipefail
deb=$(realpath "$1")
built=$(realpath "$2")
example=$(realpath "$3")
package=$(dpkg-deb --field "$deb" Package)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
target=$work/root
admin=$target/var/lib/dpkg

fail() { echo "check_deb: $*" >&2; exit 1; }

mkdir -p "$admin/info" "$admin/updates"
cp /var/lib/dpkg/status "$admin/status"
dpkg --root="$target" --install "$deb" >"$work/install.log" 2>&1 \
  || { cat "$work/install.log" >&2; fail "$package does not install"; }

program=$target/usr/bin/velmar2fb2
"$program" -i="$example" -o="$work/installed.fb2" || fail "the installed program failed"
"$built" -i="$example" -o="$work/built.fb2" || fail "the built program failed"
undated() { sed '/^ <date value="[^"]*">[^<]*<\/date>\r$/d' "$1"; }
[ "$(undated "$work/installed.fb2" | wc -l)" -eq "$(($(wc -l <"$work/installed.fb2") - 1))" ] \
  || fail "the installed program's book has no date line"
cmp <(undated "$work/installed.fb2") <(undated "$work/built.fb2") \
  || fail "the installed program's book differs from the built program's"
man -l "$target/usr/share/man/man1/velmar2fb2.1.gz" 2>&1 | grep -q '^NAME' \
  || fail "the manual page does not read"

dpkg --root="$target" --purge "$package" >"$work/purge.log" 2>&1 \
  || { cat "$work/purge.log" >&2; fail "$package does not purge"; }
left=$(cd "$target" && find . -mindepth 1 ! -path './var/lib/dpkg' ! -path './var/lib/dpkg/*' \
  ! -path ./var ! -path ./var/lib)
[ -z "$left" ] || fail "left behind after the purge: $(echo "$left" | tr '\n' ' ')"
! dpkg-query --admindir="$admin" -W "$package" >/dev/null 2>&1 || fail "$package is still known to dpkg"
echo "check_deb: $(basename "$deb") installs, converts the example like the built program, purges"
