#!/usr/bin/env bash
# Builds the Debian package dist/velmar2fb2_VERSION-REVISION_ARCH.deb (on this machine:
# dist/velmar2fb2_1.0-1_amd64.deb), holding
#   /usr/bin/velmar2fb2                          built with Debian's flags (dpkg-buildflags, all
#                                                hardening), stripped
#   /usr/share/man/man1/velmar2fb2.1.gz          the manual page
#   /usr/share/doc/velmar2fb2/copyright          Debian's machine-readable format
#   /usr/share/doc/velmar2fb2/changelog.Debian.gz
#   /usr/share/lintian/overrides/velmar2fb2      lintian's one warning, answered (not an upload
#                                                to Debian: no bug for the changelog to close)
# from packaging/debian/ (control, changelog, copyright, lintian-overrides). Depends is what dpkg-shlibdeps finds
# the program needs, merged by dpkg-gencontrol with control's floor on libexpat1: the first
# bookworm revision with reparse deferral, so a large token costs linear time, not quadratic.
#
# Then checks it: lintian must report no error and no warning, and tests/package/check_deb.sh
# installs it in a throwaway root, converts the example and removes it. Last, dist/SHA256SUMS
# (scripts/write-sums.sh).
#
# Usage: scripts/build-deb.sh
# Installs what is missing (scripts/install-deps.sh); root or sudo for that.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

scripts/install-deps.sh
export SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct)}
export TZ=UTC LC_ALL=C
umask 022

build=build-deb
rm -rf "$build"
mkdir -p "$build/debian" dist
cp packaging/debian/control packaging/debian/changelog "$build/debian/"

# Debian's compiler and linker flags; CMake's None build type adds nothing of its own.
eval "$(DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --export=sh)"
export CXXFLAGS="$CXXFLAGS $CPPFLAGS -DNDEBUG"
cmake -S . -B "$build/program" -G Ninja -DCMAKE_BUILD_TYPE=None -DVELMAR_BUILD_TESTS=OFF \
  -DCMAKE_INSTALL_PREFIX=/usr >"$build/configure.log" 2>&1 || { cat "$build/configure.log" >&2; exit 1; }
grep -E '^CMake Warning' -A 6 "$build/configure.log" || true
cmake --build "$build/program" -j 2

tree=$build/debian/velmar2fb2
doc=$tree/usr/share/doc/velmar2fb2
mkdir -p "$tree/DEBIAN" "$tree/usr/bin" "$tree/usr/share/man/man1" "$doc" \
  "$tree/usr/share/lintian/overrides"
strip --strip-unneeded --remove-section=.comment --remove-section=.note \
  -o "$tree/usr/bin/velmar2fb2" "$build/program/velmar2fb2"
gzip -9n <velmar2fb2.1 >"$tree/usr/share/man/man1/velmar2fb2.1.gz"
gzip -9n <packaging/debian/changelog >"$doc/changelog.Debian.gz"
cp packaging/debian/copyright "$doc/copyright"
cp packaging/debian/lintian-overrides "$tree/usr/share/lintian/overrides/velmar2fb2"
chmod 755 "$tree/usr/bin/velmar2fb2"
chmod 644 "$tree/usr/share/man/man1/velmar2fb2.1.gz" "$doc"/* "$tree/usr/share/lintian/overrides/velmar2fb2"
(cd "$tree" && find usr -type f -print0 | LC_ALL=C sort -z | xargs -0 md5sum) >"$tree/DEBIAN/md5sums"

(
  cd "$build"
  dpkg-shlibdeps -Tdebian/velmar2fb2.substvars debian/velmar2fb2/usr/bin/velmar2fb2
  dpkg-gencontrol -pvelmar2fb2 -Pdebian/velmar2fb2 -Tdebian/velmar2fb2.substvars
)
find "$tree" -exec touch -h -d "@$SOURCE_DATE_EPOCH" {} +
version=$(sed -n 's/^Version: //p' "$tree/DEBIAN/control")
arch=$(sed -n 's/^Architecture: //p' "$tree/DEBIAN/control")
deb=dist/velmar2fb2_${version}_$arch.deb
dpkg-deb --root-owner-group -Zxz --build "$tree" "$deb" >/dev/null
echo "build-deb: $deb"
dpkg-deb --field "$deb" Depends | sed 's/^/build-deb: Depends: /'

# Every tag down to pedantic, the overridden ones too (lintian's --fail-on would count those).
echo "build-deb: lintian:"
said=$(lintian --display-level '>=pedantic' --show-overrides "$deb" 2>&1 \
  | grep -v '^running with root privileges' || true)
echo "${said:-(nothing)}" | sed 's/^/  /'
if grep -q '^[EW]: ' <<<"$said"; then
  echo "build-deb: lintian reports an error or a warning" >&2
  exit 1
fi
tests/package/check_deb.sh "$deb" "$build/program/velmar2fb2" examples/catalogue.xml
scripts/write-sums.sh
