#!/usr/bin/env bash
# Makes what users install, from the source tree, into OUT (default dist/):
#   - the Debian packages, built by dpkg-buildpackage from debian/: cone-designer (the program,
#     its menu entry and icons), libvorla1 (the shared library), libvorla-dev (headers, static
#     library, vorla_main, CMake package, pkg-config files, the reference with the examples)
#     and vorla-check (the checker of a class's programs); the source package beside them, and
#     the debug symbols in OUT/debug/;
#   - the Windows download cone-designer-VERSION-windows.zip: the 32-bit cone-designer.exe with
#     a README, and the library for MinGW-w64 programs, 32-bit and 64-bit (library/).
# The version is the project's, from project() in CMakeLists.txt: debian/changelog is written
# from it into the copy of the tree that the packages are built from (the files git tracks or
# would track, as they are in the working tree).
# Usage: bash tools/package.sh [OUT]
#   DEB_BUILD_OPTIONS  for dpkg-buildpackage; default "nocheck" (tools/test.sh runs the tests)
#   VORLA_PACKAGE_DIR  the work folder (default build-package)
# As root it installs what it needs; tests/package/ checks what it made.
set -euo pipefail
cd "$(dirname "$0")/.."
. tools/deps.sh
out=$(realpath -m "${1:-dist}")
work=$(realpath -m "${VORLA_PACKAGE_DIR:-build-package}")
jobs=$(nproc)
export DEB_BUILD_OPTIONS=${DEB_BUILD_OPTIONS:-nocheck}
case " $DEB_BUILD_OPTIONS " in
  *" nocheck "*) profiles=nocheck tests=() ;;
  *) profiles="" tests=("${TEST_PACKAGES[@]}") ;;
esac
case " $DEB_BUILD_OPTIONS " in
  *" parallel="*) ;;
  *) DEB_BUILD_OPTIONS="$DEB_BUILD_OPTIONS parallel=$jobs" ;;
esac

version=$(sed -n 's/^project(ConeDesigner VERSION \([0-9][0-9.]*\)[ )].*/\1/p' CMakeLists.txt)
if [ -z "$version" ]; then
  echo "package.sh: no version in CMakeLists.txt's project()" >&2
  exit 1
fi
need_packages build-essential dpkg-dev debhelper git zip g++-mingw-w64-i686 g++-mingw-w64-x86-64 \
  "${BUILD_PACKAGES[@]}" "${tests[@]}"
echo "Cone Designer $version into $out"

# --- The tree to build from ------------------------------------------------------------------
src=$work/cone-designer-$version
rm -rf "$work"
mkdir -p "$src" "$out"
git ls-files -z --cached --others --exclude-standard |
  while IFS= read -r -d '' file; do
    if [ -f "$file" ]; then printf '%s\0' "$file"; fi
  done |
  tar --null -T - -cf - | tar -C "$src" -xf -
commit=$(git rev-parse --short HEAD)
changes=""
[ -n "$(git status --porcelain)" ] && changes=", with changes not yet committed"
# The entry's date is the commit's: the packages' files carry it, not the day of the build.
cat >"$src/debian/changelog" <<CHANGELOG
cone-designer ($version) bookworm; urgency=medium

  * Cone Designer $version and the VORLA library $version,
    from commit $commit$changes.

 -- $(sed -n 's/^Maintainer: //p' debian/control)  $(git log -1 --format=%cD)
CHANGELOG

# --- Debian packages -------------------------------------------------------------------------
echo "== Debian packages (dpkg-buildpackage; DEB_BUILD_OPTIONS=$DEB_BUILD_OPTIONS)"
log=$work/dpkg-buildpackage.log
if ! (cd "$src" && DEB_BUILD_PROFILES=$profiles dpkg-buildpackage -us -uc --build=full) \
  >"$log" 2>&1; then
  tail -n 40 "$log"
  echo "package.sh: dpkg-buildpackage failed (the whole log: $log)" >&2
  exit 1
fi
rm -rf "$out/debug"
mkdir -p "$out/debug"
rm -f "$out"/*.deb "$out"/cone-designer_*
for file in "$work"/*-dbgsym_*.deb; do mv "$file" "$out/debug/"; done
mv "$work"/*.deb "$out/"
mv "$work"/cone-designer_"$version"* "$out/"

# --- The Windows download --------------------------------------------------------------------
echo "== The Windows download (MinGW-w64, i686 and x86_64)"
name=cone-designer-$version-windows
stage=$work/$name
library=$stage/library
mkdir -p "$library"
for arch in i686 x86_64; do
  build=$work/mingw-$arch
  if ! { cmake -S "$src" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$src/cmake/mingw-$arch.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF -DVORLA_BENCH=OFF &&
    cmake --build "$build" -j"$jobs" &&
    cmake --install "$build" --prefix "$library/$arch-w64-mingw32"; } >"$build.log" 2>&1; then
    tail -n 30 "$build.log"
    echo "package.sh: the $arch build failed (the whole log: $build.log)" >&2
    exit 1
  fi
done
# The 32-bit program at the top; the reference once, for both compilers.
mv "$library/i686-w64-mingw32/bin/cone-designer.exe" "$stage/"
i686-w64-mingw32-strip "$stage/cone-designer.exe"
mv "$library/i686-w64-mingw32/share/doc/vorla/docs" "$library/i686-w64-mingw32/share/doc/vorla/examples" \
  "$library/"
rm -r "$library"/*/bin "$library"/*/share

# One build command for each example, from the library's folder.
example_commands() {
  local source compiler libraries
  for source in "$src"/examples/*.c "$src"/examples/*.cpp; do
    compiler=gcc
    [[ $source == *.cpp ]] && compiler=g++
    libraries="-lvorla"
    grep -q '^int WINAPI WinMain' "$source" && libraries="-lvorla_main -lvorla"
    printf '  %s examples/%s -o %s.exe -Ix86_64-w64-mingw32/include' "$compiler" \
      "$(basename "$source")" "$(basename "${source%.*}")"
    printf ' -Lx86_64-w64-mingw32/lib %s -lstdc++ -lgdi32 -luser32 -mwindows -static\n' "$libraries"
  done
}

# Text files for Windows' own editors: CR LF line ends.
crlf() { sed 's/$/\r/'; }
crlf >"$stage/README.txt" <<README
Cone Designer $version for Windows

Cone Designer is a toy for designing an ice-cream cone. Unpack the whole folder anywhere, for
example onto the Desktop, and double-click cone-designer.exe. Nothing is installed: to remove
the program, delete the folder. It runs on 32-bit and 64-bit Windows and needs nothing else.
The program is not signed, so Windows may say that it protected your PC: choose "More info",
then "Run anyway".

Click the box on the welcome screen, use the buttons on the left to add scoops and choose their
colours, and click on the ice cream to place toppings. The Run menu (or Ctrl+A, H, F, L, R, P,
O, Q) controls the animation, logging, and the recording and playback of your session in the
file VORLA.SCR, which is kept in the folder the program was started from.

The folder "library" is for people who write programs of their own with the VORLA graphics
library and the MinGW-w64 compilers: see library\\README.txt.
README

crlf >"$library/README.txt" <<README
The VORLA library $version for MinGW-w64

VORLA is a small graphics library for first programs in C or C++: one drawing window with 24
colours, shapes and text in centred coordinates, events, animation, and recording and playback
of input. This folder holds it for the MinGW-w64 compilers that use msvcrt.dll (MSYS2's MINGW32
and MINGW64 shells, and the compilers that come with Code::Blocks), for 32-bit and for 64-bit
programs:

  i686-w64-mingw32\\     for 32-bit programs (i686-w64-mingw32-gcc, MSYS2's MINGW32)
  x86_64-w64-mingw32\\   for 64-bit programs (x86_64-w64-mingw32-gcc, MSYS2's MINGW64)
  docs\\                 the reference: start with README.md and first-program.md
  examples\\             eight short programs, each teaching one thing (docs\\pictures\\
                        holds what they draw)

Each of the two folders holds include\\vorla.h (with include\\vorla\\), lib\\libvorla.a,
lib\\libvorla_main.a (the main of a program that begins at WinMain), the CMake package
(lib\\cmake\\Vorla) and the pkg-config files (lib\\pkgconfig). A program is linked whole: it
needs no DLL but Windows' own.

Build an example with one command, in this folder (with a 64-bit compiler as below; with a
32-bit one, write i686-w64-mingw32 in place of x86_64-w64-mingw32):

$(example_commands)

With pkg-config (MSYS2), point it at the folder first:

  export PKG_CONFIG_PATH=\$PWD/x86_64-w64-mingw32/lib/pkgconfig
  gcc first.c -o first.exe \$(pkg-config --cflags --libs vorla)

With CMake, find_package(Vorla 1 REQUIRED) and target_link_libraries(first PRIVATE Vorla::vorla)
in your CMakeLists.txt (Vorla::vorla_main too for a program that begins at WinMain), and the
folder as the prefix:

  cmake -S . -B build -DCMAKE_PREFIX_PATH=C:/path/to/library/x86_64-w64-mingw32
README

rm -f "$out"/cone-designer-*-windows.zip
# Every file dated as the commit it was made from.
find "$stage" -exec touch -h -d "@$(git log -1 --format=%ct)" {} +
(cd "$work" && find "$name" -type f | LC_ALL=C sort | zip -q -X -@ "$out/$name.zip")

echo "== Made in $out:"
(cd "$out" && ls -l ./*.deb ./*.zip ./debug/*.deb ./*.dsc ./*.tar.* | awk '{ print "  " $5 "  " $9 }')
