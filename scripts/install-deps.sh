#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, when any are missing.
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config
  libexpat1-dev googletest libgtest-dev
  libxml2-utils faketime pandoc
  # The book file checks: access lists and extended attributes.
  acl attr
  clang libclang-rt-14-dev valgrind clang-tidy cppcheck
  # The Windows build and its tests: compilers, Expat's source package, wine (64-bit only), zip;
  # debootstrap makes the chroot the 32-bit tests run in (scripts/wine32-root.sh).
  g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix dpkg-dev wine64 zip debootstrap
)

missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' \
    || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
