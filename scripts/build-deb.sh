#!/usr/bin/env bash
# Builds the Debian package the Debian way and checks it. From the source release
# (scripts/build-source.sh: dist/velmar2fb2-VERSION.tar.gz, also the orig tarball), unpacked
# outside this tree, dpkg-buildpackage -us -uc builds the source package (.dsc) and
# velmar2fb2_VERSION-REVISION_ARCH.deb from debian/: dh with CMake, Debian's flags with all
# hardening, the unit tests and end-to-end cases at build time, Depends from dpkg-shlibdeps
# with control's floor on libexpat1 (the first bookworm revision whose parser takes a large
# token in linear time).
#
# Then: lintian on the .changes, every tag down to pedantic and the overridden ones shown, must
# report no error and no warning; tests/package/check_deb.sh installs the .deb in a throwaway
# root, converts the example and purges it. The .deb and the source package go to dist/, and
# dist/SHA256SUMS lists the release files (scripts/write-sums.sh).
#
# Usage: scripts/build-deb.sh
# Installs what is missing (scripts/install-deps.sh); root or sudo for that.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
tarball=$(scripts/build-source.sh | tail -n 1)
version=$(sed -n '1s/^velmar2fb2 (\([^)]*\)).*/\1/p' debian/changelog)
upstream=${version%-*}

work=$(mktemp -d "${TMPDIR:-/tmp}/velmar2fb2-deb.XXXXXX")
trap 'rm -rf "$work"' EXIT
cp "$tarball" "$work/velmar2fb2_$upstream.orig.tar.gz"
tar -xzf "$tarball" -C "$work"
tree=$work/velmar2fb2-$upstream
(cd "$tree" && dpkg-buildpackage -us -uc >"$work/build.log" 2>&1) \
  || { tail -n 60 "$work/build.log" >&2; echo "build-deb: dpkg-buildpackage failed" >&2; exit 1; }
grep -E '^[0-9]+% tests passed' "$work/build.log" | sed 's/^/build-deb: build-time tests: /'
changes=$(echo "$work"/velmar2fb2_"${version}"_*.changes)
deb=$(echo "$work"/velmar2fb2_"${version}"_*.deb)
echo "build-deb: $(basename "$deb")"
dpkg-deb --field "$deb" Depends | sed 's/^/build-deb: Depends: /'

echo "build-deb: lintian:"
said=$(lintian --pedantic --show-overrides "$changes" 2>&1 \
  | grep -v '^running with root privileges' || true)
echo "${said:-(nothing)}" | sed 's/^/  /'
if grep -q '^[EW]: ' <<<"$said"; then
  echo "build-deb: lintian reports an error or a warning" >&2
  exit 1
fi
tests/package/check_deb.sh "$deb" "$(echo "$tree"/obj-*/velmar2fb2)" examples/catalogue.xml

mkdir -p dist
rm -f dist/velmar2fb2_*
cp "$deb" "$work/velmar2fb2_$version.dsc" "$work/velmar2fb2_$version.debian.tar.xz" \
  "$work/velmar2fb2_$upstream.orig.tar.gz" dist/
echo "build-deb: dist/$(basename "$deb") and the source package velmar2fb2_$version.dsc"
scripts/write-sums.sh
