#!/usr/bin/env bash
# The Debian packages' files at work under USR: /usr once they are installed, or the usr/ of a
# folder they were unpacked into. The menu entry validates, starts the program and has its icons;
# the program without a display ends with one line and status 1; a learner's programs built with
# pkg-config and with find_package(Vorla) draw the reference's pictures headless; vorla-check
# tells a class's right program from a wrong one.
# Usage: packages-at-work.sh USR   (check-debs.sh and installed.sh run it)
set -uo pipefail
checkout=$(cd "$(dirname "$0")/../.." && pwd)
usr=$(realpath "$1")
triplet=$(gcc -print-multiarch)
. "$checkout/tests/package/checks.sh"
cmake_prefix=()
if [ "$usr" != /usr ]; then
  export PKG_CONFIG_PATH=$usr/lib/$triplet/pkgconfig LD_LIBRARY_PATH=$usr/lib/$triplet
  cmake_prefix=(-DCMAKE_PREFIX_PATH="$usr")
fi

entry=$usr/share/applications/cone-designer.desktop
said=$(desktop-file-validate "$entry" 2>&1)
exec_line=$(grep '^Exec=' "$entry")
if [ -z "$said" ] && [ "$exec_line" = Exec=/usr/games/cone-designer ] &&
  grep -qx Icon=cone-designer "$entry" && [ -f "$usr/share/icons/hicolor/48x48/apps/cone-designer.png" ] &&
  [ -f "$usr/share/icons/hicolor/256x256/apps/cone-designer.png" ]; then
  pass "the menu entry validates, has its icons and starts /usr/games/cone-designer"
else
  fail "the menu entry: $said $exec_line"
fi
out=$(env -u DISPLAY -u WAYLAND_DISPLAY -u VORLA_DISPLAY timeout 20 "$usr/games/cone-designer" 2>&1)
status=$?
if [ "$status" -eq 1 ] && [ "$(printf '%s\n' "$out" | wc -l)" -eq 1 ]; then
  pass "the program without a display: status 1, \"$out\""
else
  fail "the program without a display: status $status, said: $out"
fi

doc=$usr/share/doc/libvorla-dev
cp "$doc"/examples/{first.c,clock.cpp,ball.c} "$work/"
# same PROGRAM NAME WHAT: the program's picture after its example script is the reference's.
same() {
  if (cd "$work" && VORLA_DISPLAY=headless VORLA_PLAY="$doc/examples/scripts/$2.scr" \
    VORLA_SNAPSHOT="$work/picture.png" timeout 20 "$1") &&
    cmp -s "$work/picture.png" "$doc/docs/pictures/$2.png"; then
    pass "$3 draws docs/pictures/$2.png headless"
  else
    fail "$3 does not draw docs/pictures/$2.png"
  fi
}
# shellcheck disable=SC2046
cc "$work/first.c" -o "$work/first" $(pkg-config --cflags --libs vorla) &&
  same "$work/first" first "first.c built with cc and pkg-config vorla"
# shellcheck disable=SC2046
c++ "$work/clock.cpp" -o "$work/clock" $(pkg-config --cflags --libs vorla-main) &&
  same "$work/clock" clock "clock.cpp built with c++ and pkg-config vorla-main"
if cmake -S "$checkout/tests/install/routes" -B "$work/cmake" "${cmake_prefix[@]}" -DEXAMPLES="$work" \
  -DOWN_NAMES="$checkout/tests/install/own_names.c" >"$work/cmake.log" 2>&1 &&
  cmake --build "$work/cmake" -j2 >>"$work/cmake.log" 2>&1; then
  same "$work/cmake/ball" ball "ball.c built with find_package(Vorla)"
  same "$work/cmake/clock" clock "clock.cpp with Vorla::vorla_main"
  same "$work/cmake/ball-static" ball "ball.c with Vorla::vorla_static"
else
  tail -n 20 "$work/cmake.log"
  fail "find_package(Vorla)"
fi

cp -r "$checkout/tests/install/class" "$work/class"
(cd "$work" && "$usr/bin/vorla-check" -q -o checked class class/script.scr class/expected.png)
status=$?
verdicts=$(jq -r '.students[] | "\(.name) \(.verdict)"' "$work/checked/report.json" 2>&1 | tr '\n' ' ')
if [ "$status" -eq 1 ] && [ "$verdicts" = "alice same bob different " ]; then
  pass "vorla-check tells alice's right program from bob's wrong one"
else
  fail "vorla-check: status $status, verdicts: $verdicts"
fi
exit $((failures > 0))
