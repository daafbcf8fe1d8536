#!/usr/bin/env bash
# Checks the Windows download that tools/package.sh made, unpacked as a user unpacks it: its
# files; cone-designer.exe a 32-bit GUI program that needs no DLL but Windows' own; for each
# compiler of MinGW-w64 (i686 and x86_64, the posix ones, as MSYS2's), every example built with
# its one-line command from library/README.txt, first.c with pkg-config, and first.c and the
# WinMain clock.cpp with find_package(Vorla), each .exe needing only Windows' DLLs.
# With --wine, the learner's 64-bit first.exe then runs under Wine (wine64) on an Xvfb display,
# beside the same program's headless run on Linux: outside the boxes where either system's font
# put text the two pictures must be the same, pixel for pixel (the Windows check's comparison);
# and clock.exe, which begins at WinMain through vorla_main, must open its window.
# Usage: check-windows-zip.sh ZIP [--wine]   (run by CI after tools/package.sh)
#   VORLA_BUILD_DIR      the Linux build with windows-shots (build)
#   VORLA_PROBE_EXE      the 64-bit windows-probe.exe (else it is built)
#   VORLA_CHECK_DISPLAY  the Xvfb display for --wine (default :57)
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
zip=$(realpath "$1")
wine_run=0
[ "${2:-}" = --wine ] && wine_run=1
. "$root/tools/deps.sh"
need_packages unzip binutils cmake make pkg-config g++-mingw-w64-i686 g++-mingw-w64-x86-64
[ "$wine_run" = 1 ] && need_packages wine wine64 xvfb imagemagick "${BUILD_PACKAGES[@]}"
. "$root/tests/package/checks.sh"
xvfb_pid=
cleanup() {
  if [ -n "${WINEPREFIX:-}" ]; then wineserver -k 2>/dev/null; fi
  if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null; fi
  rm -rf "$work"
}
trap cleanup EXIT

unzip -q "$zip" -d "$work/unpacked"
top=$(find "$work/unpacked" -mindepth 1 -maxdepth 1)
if [ "$(wc -l <<<"$top")" -ne 1 ] || [ ! -d "$top" ]; then
  echo "FAILED: the zip does not hold one folder"
  exit 1
fi
library=$top/library
examples=$library/examples

echo "== files"
# The headers, libraries, CMake package and pkg-config files are used by the builds below; they
# find their folder themselves, naming none of the machine that built them.
for path in cone-designer.exe README.txt library/README.txt library/docs/README.md; do
  [ -f "$top/$path" ] || fail "no $path"
done
if grep -rlF -e /build-package -e "$root" "$library"/*/lib/cmake "$library"/*/lib/pkgconfig; then
  fail "the files above name the folder the library was built in"
fi
[ "$failures" -eq 0 ] && pass "the program, its README, and the library for i686 and x86_64"

# imports_only_windows EXE: the DLLs it needs are Windows' own.
imports_only_windows() {
  local imports
  imports=$(objdump -p "$1" | sed -n 's/.*DLL Name: //p' | sort | tr '\n' ' ')
  if [ "$imports" = "GDI32.dll KERNEL32.dll USER32.dll msvcrt.dll " ]; then
    return 0
  fi
  fail "$(basename "$1") imports $imports"
  return 1
}
exe=$top/cone-designer.exe
headers=$(objdump -f -p "$exe")
if grep -q 'file format pei-i386' <<<"$headers" && grep -q '^Subsystem.*(Windows GUI)' <<<"$headers" &&
  imports_only_windows "$exe"; then
  pass "cone-designer.exe: 32-bit, a GUI program, needs only Windows' DLLs"
else
  fail "cone-designer.exe is not a 32-bit GUI program"
fi

# The README's command for each example, as a learner types it in the library's folder.
mapfile -t commands < <(tr -d '\r' <"$library/README.txt" | sed -n 's/^  \(gcc\|g++\) examples\//&/p')
[ "${#commands[@]}" -eq "$(find "$examples" -maxdepth 1 -name '*.c*' | wc -l)" ] ||
  fail "library/README.txt has ${#commands[@]} build commands for the examples"

for arch in i686 x86_64; do
  triplet=$arch-w64-mingw32
  prefix=$library/$triplet
  format=pei-i386
  [ "$arch" = x86_64 ] && format=pei-x86-64
  out=$work/$arch
  mkdir -p "$out"
  echo "== $triplet"
  built=0
  main=main
  [ "$arch" = i686 ] && main=_main # 32-bit Windows' C names begin with an underscore
  for command in "${commands[@]}"; do
    read -r -a words <<<"${command//x86_64-w64-mingw32/$triplet}"
    words[0]=$triplet-${words[0]}-posix
    # A program that begins at WinMain and names vorla_main gets its main from libvorla_main.a.
    if (cd "$library" && "${words[@]}" "-Wl,--trace-symbol=$main") >"$out/trace.txt" 2>&1 &&
      { [[ " ${words[*]} " != *" -lvorla_main "* ]] ||
        grep -q "libvorla_main\.a(.*): definition of $main\$" "$out/trace.txt"; }; then
      built=$((built + 1))
    else
      cat "$out/trace.txt"
      fail "$triplet: ${words[*]}"
    fi
  done
  mv "$library"/*.exe "$out/" 2>/dev/null
  # shellcheck disable=SC2046
  "$triplet-gcc-posix" "$examples/first.c" -o "$out/first-pkg-config.exe" \
    $(PKG_CONFIG_LIBDIR=$prefix/lib/pkgconfig pkg-config --cflags --libs vorla) ||
    fail "$triplet: first.c with pkg-config"
  if cmake -S "$root/tests/package/windows" -B "$out/cmake" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-$arch.cmake" \
    -DCMAKE_PREFIX_PATH="$prefix" -DEXAMPLES="$examples" >"$out/cmake.log" 2>&1 &&
    cmake --build "$out/cmake" -j2 >>"$out/cmake.log" 2>&1; then
    cp "$out"/cmake/*.exe "$out/"
  else
    tail -n 20 "$out/cmake.log"
    fail "$triplet: the find_package(Vorla) project"
  fi
  for program in "$out"/*.exe; do
    [[ $(objdump -f "$program") == *"file format $format"* ]] || fail "$(basename "$program") is not $format"
    imports_only_windows "$program" || true
  done
  pass "$triplet: $built examples from the README's commands, pkg-config, find_package: $(find "$out" -maxdepth 1 -name '*.exe' | wc -l) programs"
done

if [ "$wine_run" = 1 ]; then
  echo "== first.exe under Wine (64-bit) and on Linux's headless display"
  for tool in wine wineboot wineserver Xvfb import convert; do
    command -v "$tool" >/dev/null || { fail "--wine needs $tool"; exit 1; }
  done
  build=$(realpath "${VORLA_BUILD_DIR:-$root/build}")
  cmake --build "$build" --target windows-shots >/dev/null ||
    { fail "building windows-shots in $build"; exit 1; }
  probe=${VORLA_PROBE_EXE:+$(realpath "$VORLA_PROBE_EXE")}
  if [ -z "$probe" ]; then
    cmake -S "$root" -B "$work/probe" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-x86_64.cmake" \
      -DBUILD_TESTING=OFF -DVORLA_BENCH=OFF >/dev/null &&
      cmake --build "$work/probe" -j2 --target windows-probe >/dev/null ||
      { fail "building windows-probe.exe"; exit 1; }
    probe=$work/probe/windows-probe.exe
  fi
  run=$work/run
  mkdir -p "$run"

  # Linux: the same source against the build's library, its text calls written down.
  # shellcheck disable=SC2046
  cc "$examples/first.c" "$root/tests/package/text_calls.c" -Wl,--wrap=gfx_text -o "$run/first" \
    $(PKG_CONFIG_PATH=$build pkg-config --cflags --libs vorla) || fail "first.c on Linux"
  (cd "$run" && VORLA_DISPLAY=headless VORLA_PLAY="$examples/scripts/first.scr" \
    VORLA_SNAPSHOT="$run/linux.png" VORLA_TEXT_CALLS="$run/calls.txt" timeout 20 ./first) &&
    cmp -s "$run/linux.png" "$library/docs/pictures/first.png" ||
    fail "first.c on Linux does not draw docs/pictures/first.png"
  convert "$run/linux.png" "$run/linux.ppm"
  "$build/windows-shots" ink "$run/calls.txt" "$run/linux-ink.txt" || fail "the ink of the text on Linux"

  # Wine: a new prefix on a display of its own, text without smoothing, one wineserver.
  export DISPLAY=${VORLA_CHECK_DISPLAY:-:57} WINEDEBUG=-all WINEARCH=win64
  export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d" WINEPREFIX=$work/prefix
  Xvfb "$DISPLAY" -screen 0 1024x768x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
  xvfb_pid=$!
  started=$SECONDS
  timeout 600 wineboot -i >"$work/wineboot.log" 2>&1 || { cat "$work/wineboot.log"; fail "wineboot"; exit 1; }
  timeout 300 wineserver -w
  # shellcheck source=tools/wine/wine-fonts.sh
  . "$root/tools/wine/wine-fonts.sh"
  plain_text_fonts
  wineserver -p
  echo "Wine $(wine --version), its prefix made in $((SECONDS - started)) s"
  # window_of PROGRAM: starts it in $run and waits for its drawing window (client area into
  # client_x, client_y, client_w, client_h).
  window_of() {
    (cd "$run" && exec wine "$1" >/dev/null 2>&1) &
    local deadline=$((SECONDS + 180)) _
    while [ "$SECONDS" -lt "$deadline" ]; do
      if (cd "$run" && wine "$probe" window window.txt) 2>/dev/null; then
        read -r _ client_x client_y client_w client_h < <(tr -d '\r' <"$run/window.txt" | grep '^client')
        return 0
      fi
      sleep 1
    done
    return 1
  }
  if window_of "$work/x86_64/first.exe"; then
    # The picture is taken once two captures a second apart agree.
    previous=
    for _ in $(seq 30); do
      sleep 1
      import -window root -crop "${client_w}x${client_h}+${client_x}+${client_y}" +repage "ppm:$run/wine.ppm"
      [ -n "$previous" ] && cmp -s "$run/wine.ppm" "$previous" && break
      cp "$run/wine.ppm" "$run/previous.ppm"
      previous=$run/previous.ppm
    done
    (cd "$run" && wine "$probe" end) 2>/dev/null
    if (cd "$run" && wine "$probe" ink calls.txt wine-ink.txt) 2>/dev/null; then
      if "$build/windows-shots" compare "$run/linux.ppm" "$run/wine.ppm" "$run/calls.txt" \
        "$run/linux-ink.txt" "$run/wine-ink.txt" "$run/diff.png"; then
        pass "first.exe under Wine draws the Linux headless picture outside the text"
      else
        fail "first.exe under Wine and on Linux differ outside the text"
      fi
    else
      fail "the probe could not measure the text under Wine"
    fi
  else
    fail "first.exe's window did not appear under Wine"
  fi
  if window_of "$work/x86_64/clock.exe"; then
    pass "clock.exe (WinMain, through vorla_main) opened its window under Wine"
    (cd "$run" && wine "$probe" end) 2>/dev/null
  else
    fail "clock.exe's window did not appear under Wine"
  fi
fi

finish check-windows-zip
