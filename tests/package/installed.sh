#!/usr/bin/env bash
# The Debian packages installed, used and removed as users do, on a Debian 12 that has nothing
# else of them: `apt install ./*.deb` with the four packages of DEBS; the program started
# without a display (one line, status 1) and in the menu (its entry validates, its icons are
# where the entry names them); a learner's programs built with pkg-config and with
# find_package(Vorla) against the installed packages, drawing the reference's pictures
# headless; vorla-check checking a class; then `apt remove` of the four, after which no file of
# theirs, nor any other new file, is left.
# It installs and removes packages for the whole system: run it as root in a root made for it
# (tools/fresh-check.sh --packages DIR does), which says so with VORLA_THROWAWAY_ROOT=1.
# Usage: installed.sh DEBS
set -uo pipefail
if [ "${VORLA_THROWAWAY_ROOT:-}" != 1 ] || [ "$(id -u)" -ne 0 ]; then
  echo "installed.sh installs and removes packages: run it through tools/fresh-check.sh --packages" >&2
  exit 2
fi
checkout=$(cd "$(dirname "$0")/../.." && pwd)
debs=$(realpath "$1")
packages=(cone-designer libvorla1 libvorla-dev vorla-check)
work=$(mktemp -d)
chmod 755 "$work" # vorla-check runs the programs it builds as another user
failures=0
fail() { echo "FAILED: $*"; failures=$((failures + 1)); }
pass() { echo "ok: $*"; }
export DEBIAN_FRONTEND=noninteractive

echo "== apt install ./*.deb"
apt-get update -q >"$work/apt-update.log" 2>&1 || { tail "$work/apt-update.log"; exit 1; }
started=$SECONDS
if (cd "$debs" && apt-get install -y -q --no-install-recommends ./*.deb) >"$work/apt-install.log" 2>&1; then
  pass "apt installed the packages and $(grep -c '^Setting up' "$work/apt-install.log") in all, in $((SECONDS - started)) s"
else
  tail -n 30 "$work/apt-install.log"
  fail "apt install ./*.deb"
  exit 1
fi
grep -E '^(Setting up (cone-designer|libvorla|vorla-check)|W:|E:)' "$work/apt-install.log"
# The check's own tools, not the packages': installed before the list of the system's files is taken.
apt-get install -y -q --no-install-recommends desktop-file-utils cmake make jq >"$work/apt-tools.log" 2>&1 ||
  { tail "$work/apt-tools.log"; exit 1; }

# Every file and link of the system but the kernel's, the temporary ones, caches, logs and the
# check's own folder.
system_files() {
  find / -xdev \( -path /proc -o -path /sys -o -path /dev -o -path /run -o -path /tmp \
    -o -path /var/cache -o -path /var/log -o -path /var/lib/apt/lists -o -path /root \) -prune \
    -o ! -type d -print | LC_ALL=C sort
}
system_files >"$work/before-removal.txt"
for package in "${packages[@]}"; do dpkg -L "$package"; done | while IFS= read -r path; do
  if [ ! -d "$path" ]; then echo "$path"; fi
done | LC_ALL=C sort >"$work/theirs.txt"
echo "the packages hold $(wc -l <"$work/theirs.txt") files"

echo "== the program and its menu entry"
out=$(env -u DISPLAY -u WAYLAND_DISPLAY timeout 20 /usr/games/cone-designer 2>&1)
status=$?
if [ "$status" -eq 1 ] && [ "$(printf '%s\n' "$out" | wc -l)" -eq 1 ]; then
  pass "cone-designer without a display: status 1, \"$out\""
else
  fail "cone-designer without a display: status $status, said: $out"
fi
entry=/usr/share/applications/cone-designer.desktop
said=$(desktop-file-validate "$entry" 2>&1)
exec_line=$(grep '^Exec=' "$entry")
if [ -z "$said" ] && [ "$exec_line" = "Exec=/usr/games/cone-designer" ] &&
  [ -f /usr/share/icons/hicolor/48x48/apps/cone-designer.png ] &&
  [ -f /usr/share/icons/hicolor/256x256/apps/cone-designer.png ] && grep -qx 'Icon=cone-designer' "$entry"; then
  pass "the menu entry validates, starts $exec_line and has its icons"
else
  fail "the menu entry: $said $exec_line"
fi

echo "== a learner's programs against the installed packages"
doc=/usr/share/doc/libvorla-dev
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
cp "$doc/examples/first.c" "$doc/examples/clock.cpp" "$doc/examples/ball.c" "$work/"
# shellcheck disable=SC2046
cc "$work/first.c" -o "$work/first" $(pkg-config --cflags --libs vorla) &&
  same "$work/first" first "first.c, built with cc and pkg-config vorla"
# shellcheck disable=SC2046
c++ "$work/clock.cpp" -o "$work/clock" $(pkg-config --cflags --libs vorla-main) &&
  same "$work/clock" clock "clock.cpp, built with c++ and pkg-config vorla-main"
if cmake -S "$checkout/tests/install/routes" -B "$work/cmake" -DEXAMPLES="$work" \
  -DOWN_NAMES="$checkout/tests/install/own_names.c" >"$work/cmake.log" 2>&1 &&
  cmake --build "$work/cmake" -j2 >>"$work/cmake.log" 2>&1; then
  same "$work/cmake/ball" ball "ball.c, built with find_package(Vorla)"
  same "$work/cmake/clock" clock "clock.cpp with Vorla::vorla_main, built with find_package(Vorla)"
  same "$work/cmake/ball-static" ball "ball.c with Vorla::vorla_static"
else
  tail -n 20 "$work/cmake.log"
  fail "find_package(Vorla) against the installed packages"
fi
cp -r "$checkout/tests/install/class" "$work/class"
(cd "$work" && vorla-check -q -o checked class class/script.scr class/expected.png)
status=$?
verdicts=$(jq -r '.students[] | "\(.name) \(.verdict)"' "$work/checked/report.json" 2>/dev/null | tr '\n' ' ')
if [ "$status" -eq 1 ] && [ "$verdicts" = "alice same bob different " ]; then
  pass "vorla-check (sandboxed by bubblewrap) tells alice's right program from bob's wrong one"
else
  fail "vorla-check: status $status, verdicts: $verdicts"
fi

echo "== apt remove"
if apt-get remove -y -q "${packages[@]}" >"$work/apt-remove.log" 2>&1; then
  pass "apt removed $(grep -c '^Removing' "$work/apt-remove.log") packages"
else
  tail "$work/apt-remove.log"
  fail "apt remove"
fi
system_files >"$work/after-removal.txt"
left=$(LC_ALL=C comm -12 "$work/theirs.txt" "$work/after-removal.txt")
added=$(LC_ALL=C comm -13 "$work/before-removal.txt" "$work/after-removal.txt")
states=$(dpkg-query -W -f='${Package} ${db:Status-Abbrev}\n' "${packages[@]}" 2>/dev/null | grep -v ' un *$')
if [ -z "$left" ] && [ -z "$added" ] && [ -z "$states" ]; then
  pass "none of the packages' $(wc -l <"$work/theirs.txt") files is left, no file was added, dpkg knows them no more"
else
  fail "after apt remove: files left: ${left:-none}; files added: ${added:-none}; dpkg: ${states:-nothing}"
fi

rm -rf "$work"
[ "$failures" -eq 0 ] && echo "installed.sh: all checks passed" || echo "installed.sh: $failures failed"
exit $((failures > 0))
