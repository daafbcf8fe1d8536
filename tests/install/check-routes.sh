#!/usr/bin/env bash
# The three ways a programmer builds a program on the library, each checked by the picture its
# program draws without a screen: the library installed into a temporary prefix and used
# through pkg-config and through find_package(Vorla), and the checkout taken in by another
# CMake project (FetchContent, and add_subdirectory for 32-bit Windows with MinGW-w64).
# Usage: check-routes.sh BUILD_DIR   (run by CI)
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$(realpath "$1")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
examples=$root/examples
failures=0

# same PROGRAM NAME: the program's picture after its example script equals the reference's.
same() {
  local program=$1 name=$2
  if (cd "$work" && VORLA_DISPLAY=headless VORLA_PLAY="$examples/scripts/$name.scr" \
    VORLA_SNAPSHOT="$work/picture.png" timeout 20 "$program") &&
    cmp -s "$work/picture.png" "$root/docs/pictures/$name.png"; then
    echo "ok: $program"
  else
    echo "FAILED: $program does not draw docs/pictures/$name.png"
    failures=$((failures + 1))
  fi
}

prefix=$work/prefix
cmake --install "$build" --prefix "$prefix" >/dev/null
libdir=$(dirname "$(find "$prefix" -name libvorla.so -print -quit)")
export PKG_CONFIG_PATH=$libdir/pkgconfig
export LD_LIBRARY_PATH=$libdir

echo "== pkg-config"
# shellcheck disable=SC2046
cc -std=c99 -Wall -Werror "$examples/ball.c" -o "$work/ball" $(pkg-config --cflags --libs vorla)
# shellcheck disable=SC2046
c++ -Wall -Werror "$examples/clock.cpp" -o "$work/clock" $(pkg-config --cflags --libs vorla-main)
same "$work/ball" ball
same "$work/clock" clock
own_names=$root/tests/install/own_names.c
# shellcheck disable=SC2046
cc -std=c99 -Wall -Werror "$own_names" -o "$work/own-names" $(pkg-config --cflags --libs vorla)
# shellcheck disable=SC2046
cc -std=c99 -Wall -Werror "$own_names" -o "$work/own-names-static" $(pkg-config --cflags vorla) \
  "$libdir/libvorla.a" $(pkg-config --static --libs vorla | sed 's/-lvorla //')

echo "== find_package(Vorla)"
cmake -S "$root/tests/install/routes" -B "$work/installed" -DCMAKE_PREFIX_PATH="$prefix" \
  -DEXAMPLES="$examples" -DOWN_NAMES="$own_names" >/dev/null
cmake --build "$work/installed" -j2 >/dev/null
for program in ball ball-static; do same "$work/installed/$program" ball; done
same "$work/installed/clock" clock
# A program's own Ellipse, Rectangle, POINT, RECT and origin_x meet none of the library's.
if (cd "$work" && bash "$root/tests/install/own_names.sh" "$work/own-names" \
  "$work/own-names-static" "$work/installed/own-names-plain" "$libdir/libvorla.so" &&
  bash "$root/tests/install/own_names.sh" "$work/installed/own-names-vorla" \
    "$work/installed/own-names-vorla_static" "$work/installed/own-names-plain" \
    "$libdir/libvorla.so"); then
  echo "ok: a program's own Win32 names, with pkg-config and find_package, shared and static"
else
  failures=$((failures + 1))
fi

echo "== FetchContent of the checkout"
unset PKG_CONFIG_PATH LD_LIBRARY_PATH
cmake -S "$root/tests/install/routes" -B "$work/checkout" -DVORLA_CHECKOUT="$root" \
  -DEXAMPLES="$examples" >/dev/null
cmake --build "$work/checkout" -j2 >/dev/null
same "$work/checkout/ball" ball
same "$work/checkout/clock" clock

echo "== add_subdirectory of the checkout, for 32-bit Windows, a program in C alone"
cmake -S "$root/tests/install/windows" -B "$work/windows" -DVORLA_CHECKOUT="$root" \
  -DEXAMPLES="$examples" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" >/dev/null
cmake --build "$work/windows" -j2 --target first >/dev/null
imports=$(i686-w64-mingw32-objdump -p "$work/windows/first.exe" | sed -n 's/.*DLL Name: //p' | sort |
  tr '\n' ' ')
if [ "$imports" = "GDI32.dll KERNEL32.dll USER32.dll msvcrt.dll " ]; then
  echo "ok: first.exe imports $imports"
else
  echo "FAILED: first.exe imports $imports"
  failures=$((failures + 1))
fi
exit $failures
