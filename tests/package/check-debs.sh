#!/usr/bin/env bash
# Checks the Debian packages that tools/package.sh made in DIST, without installing them:
# lintian (errors and warnings fail, each override in debian/ says why it is one), the four
# packages at the tree's version with the files each must hold and none twice, dependencies
# found by dpkg-shlibdeps, and the packages' files at work, unpacked into a folder
# (packages-at-work.sh). Writes the packages' sizes, fields and file lists, and lintian's
# words, to DIST/packages.txt.
# Usage: check-debs.sh DIST   (run by CI after tools/package.sh)
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
dist=$(realpath "$1")
. "$root/tools/deps.sh"
need_packages lintian dpkg-dev binutils desktop-file-utils jq "${BUILD_PACKAGES[@]}" \
  "${CHECK_PACKAGES[@]}"
. "$root/tests/package/checks.sh"

version=$(sed -n 's/^project(ConeDesigner VERSION \([0-9][0-9.]*\)[ )].*/\1/p' "$root/CMakeLists.txt")
arch=$(dpkg --print-architecture)
triplet=$(dpkg-architecture -qDEB_HOST_MULTIARCH)
deb() { echo "$dist/$1_${version}_$arch.deb"; }
packages=(cone-designer libvorla1 libvorla-dev vorla-check)
for package in "${packages[@]}"; do
  [ -f "$(deb "$package")" ] || fail "no $(basename "$(deb "$package")") in $dist"
done
[ "$failures" -eq 0 ] || exit 1

echo "== lintian"
lintian_said=$work/lintian.txt
if lintian --fail-on error,warning --display-info "$dist"/*.deb "$dist"/*.dsc >"$lintian_said" 2>&1; then
  pass "lintian: no error or warning ($(wc -l <"$lintian_said") lines of information)"
else
  fail "lintian:"
fi
sed 's/^/  /' "$lintian_said"

echo "== contents"
# holds PACKAGE PATH...: each path is a file or link of the package.
holds() {
  local package=$1 path
  shift
  for path in "$@"; do
    grep -qxF "./$path" "$work/$package.list" || fail "$package does not hold /$path"
  done
}
for package in "${packages[@]}"; do
  dpkg-deb -c "$(deb "$package")" | awk '{ print $6 }' >"$work/$package.list"
done
holds cone-designer usr/games/cone-designer usr/share/applications/cone-designer.desktop \
  usr/share/icons/hicolor/48x48/apps/cone-designer.png \
  usr/share/icons/hicolor/256x256/apps/cone-designer.png usr/share/man/man6/cone-designer.6.gz
holds libvorla1 "usr/lib/$triplet/libvorla.so.1" "usr/lib/$triplet/libvorla.so.$version"
holds libvorla-dev usr/include/vorla.h usr/include/vorla/vorla.h usr/include/vorla/win32_entry.h \
  "usr/lib/$triplet/libvorla.so" "usr/lib/$triplet/libvorla.a" "usr/lib/$triplet/libvorla_main.a" \
  "usr/lib/$triplet/cmake/Vorla/VorlaConfig.cmake" "usr/lib/$triplet/pkgconfig/vorla.pc" \
  "usr/lib/$triplet/pkgconfig/vorla-main.pc" usr/share/doc/libvorla-dev/docs/first-program.md \
  usr/share/doc/libvorla-dev/docs/pictures/first.png usr/share/doc/libvorla-dev/examples/first.c
holds vorla-check usr/bin/vorla-check usr/share/man/man1/vorla-check.1.gz
shared=$(cat "$work"/*.list | grep -v '/$' | sort | uniq -d)
[ -z "$shared" ] || fail "files in more than one package: $shared"
dpkg-deb -x "$(deb libvorla1)" "$work/so"
soname=$(objdump -p "$work/so/usr/lib/$triplet/libvorla.so.1" | awk '$1 == "SONAME" { print $2 }')
[ "$soname" = libvorla.so.1 ] || fail "libvorla1's SONAME is '$soname'"
[ "$failures" -eq 0 ] && pass "each package holds its files, none twice; libvorla1's SONAME is $soname"

echo "== dependencies"
# What dpkg-shlibdeps found for each package's programs and libraries: the C library always,
# SDL2 for the program and the shared library.
depends() { dpkg-deb -f "$(deb "$1")" Depends; }
for package in cone-designer libvorla1 vorla-check; do
  [[ $(depends "$package") == *"libc6 (>= "* ]] || fail "$package's dependencies are not dpkg-shlibdeps': $(depends "$package")"
done
for package in cone-designer libvorla1; do
  [[ $(depends "$package") == *libsdl2-2.0-0* ]] || fail "$package does not depend on SDL2"
done
[[ $(depends libvorla-dev) == *"libvorla1 (= $version)"* ]] || fail "libvorla-dev does not need libvorla1 $version"
pass "dependencies: $(depends cone-designer)"

echo "== the packages' files at work, unpacked into a folder"
unpacked=$work/root
for package in "${packages[@]}"; do dpkg-deb -x "$(deb "$package")" "$unpacked"; done
bash "$root/tests/package/packages-at-work.sh" "$unpacked/usr" || failures=$((failures + 1))

{
  echo "Packages of Cone Designer $version ($arch)"
  for package in "${packages[@]}"; do
    echo
    dpkg-deb -f "$(deb "$package")" Package Version Section Installed-Size Depends
    echo "Size: $(stat -c %s "$(deb "$package")") bytes"
    dpkg-deb -c "$(deb "$package")" | awk '$1 !~ /^d/ { print "  " $3 "  " $6 ($7 ? " " $7 " " $8 : "") }'
  done
  echo
  echo "lintian --fail-on error,warning --display-info:"
  sed 's/^/  /' "$lintian_said"
} >"$dist/packages.txt"
echo "sizes, fields and file lists: $dist/packages.txt"
finish check-debs
