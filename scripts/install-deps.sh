#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, when any are missing, and brings
# Expat (libexpat1, libexpat1-dev) to the newest revision the archive offers: its security
# revisions carry the parser's fixes, among them large tokens parsed in linear time rather than
# quadratic, and the tests must see the parser an up-to-date machine has.
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config
  libexpat1-dev googletest libgtest-dev
  libxml2-utils faketime pandoc
  # The book file checks: access lists and extended attributes.
  acl attr
  clang libclang-rt-14-dev valgrind clang-tidy cppcheck
  # The Windows build and its tests: compilers, wine (64-bit only), zip; debootstrap makes the
  # chroot the 32-bit tests run in (scripts/wine32-root.sh).
  g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix wine64 zip debootstrap
  # The Debian package (scripts/build-deb.sh): dpkg-buildpackage with debhelper (and the
  # build-essential set it checks for), and lintian.
  dpkg-dev debhelper build-essential lintian
)
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"

# The package lists, unless they were read in the last hour: what the archive offers now.
if [ -z "$(find /var/lib/apt/lists -maxdepth 1 -name '*_InRelease' -mmin -60 -print -quit)" ]; then
  $sudo apt-get update -qq || echo "install-deps: the package lists could not be updated" >&2
fi

missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' \
    || missing+=("$package")
done
for package in libexpat1 libexpat1-dev; do
  installed=$(dpkg-query -W -f='${Version}' "$package" 2>/dev/null || true)
  candidate=$(apt-cache policy "$package" | sed -n 's/^ *Candidate: //p')
  if [ -n "$installed" ] && [ -n "$candidate" ] && [ "$candidate" != "(none)" ] \
    && dpkg --compare-versions "$candidate" gt "$installed"; then
    echo "Upgrading $package from $installed to $candidate"
    missing+=("$package")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
