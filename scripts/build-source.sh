#!/usr/bin/env bash
# Builds the source release dist/velmar2fb2-VERSION.tar.gz, the tree of the commit checked out
# (git archive) under velmar2fb2-VERSION/, and lists it in dist/SHA256SUMS. Reproducible: every
# entry carries the commit's time, gzip records no name or time, so any clone of one commit
# gives the same bytes. The archive's scripts/source-date.sh holds that time, for builds of the
# unpacked tree without git (Debian's dpkg-buildpackage, scripts/build-windows.sh).
#
# In a tree unpacked from a release (no git) the same files are packed again with tar, sorted,
# with the recorded time and root as owner; build outputs (.gitignore's) are left out.
#
# Usage: scripts/build-source.sh    (prints the tarball's path last)
set -euo pipefail
cd "$(dirname "$0")/.."

version=$(sed -n 's/^project(velmar2fb2 VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
[ -n "$version" ] || { echo "build-source: no version in CMakeLists.txt" >&2; exit 1; }
name=velmar2fb2-$version
tarball=dist/$name.tar.gz
mkdir -p dist
export LC_ALL=C TZ=UTC

if [ "$(git rev-parse --show-toplevel 2>/dev/null)" = "$PWD" ]; then
  if [ -n "$(git status --porcelain --untracked-files=no)" ]; then
    echo "build-source: uncommitted changes are not in the release (it is the commit's tree)" >&2
  fi
  git -c tar.umask=0022 archive --format=tar --prefix="$name/" HEAD | gzip -9n >"$tarball.new"
else
  date=$(scripts/source-date.sh)
  tar --create --sort=name --mtime="@$date" --owner=0 --group=0 --numeric-owner \
    --format=pax --pax-option=exthdr.name=%d/PaxHeaders/%f,delete=atime,delete=ctime \
    --exclude='./build*' --exclude=./dist --exclude='./examples/*.fb2' \
    --transform="s|^\.|$name|" . | gzip -9n >"$tarball.new"
fi
mv "$tarball.new" "$tarball"
scripts/write-sums.sh >/dev/null
echo "$tarball"
