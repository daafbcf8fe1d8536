#!/usr/bin/env bash
# Proves the Windows program under Wine against the Linux program; run by hand as root, not in
# CI (Wine is a large install). Usage: bash tools/windows-check.sh [--arch 32|64]
#
# 1. Installs Debian's Wine: for 32-bit programs (the default) wine32 with the i386
#    architecture added, retrying apt a bounded number of times; --arch 64 checks the 64-bit
#    build of the same program with wine64 instead, for machines that cannot run 32-bit code.
# 2. Builds cone-designer.exe and windows-probe.exe with the MinGW-w64 toolchain file, and the
#    Linux tool headless-designer (tools/windows-check/).
# 3. Gives the session tools/windows-check/session.txt to the Linux program on the headless
#    display and to the Windows program under Wine (xdotool, in a fresh Wine prefix under Xvfb):
#    the Run menu is used with the mouse and with the keys, and both recordings ("VORLA.SCR")
#    must be the same. Closing the window must end the program with status 0.
# 4. Plays the recording in both programs (Ctrl+P) and, once the script has ended and nothing
#    moves any more, compares the drawing window's client areas pixel by pixel: outside the
#    boxes where either system's font put text the pictures must be identical; inside them the
#    differing pixels are counted and reported.
# Results go to build-windows-check/ (or $VORLA_CHECK_DIR); the display is $VORLA_CHECK_DISPLAY
# (default :96). Exit status 0 only when every check passed; 3 when Wine cannot be had.
set -uo pipefail
cd "$(dirname "$0")/.."
root=$PWD

arch=32
if [ "${1:-}" = "--arch" ]; then arch=${2:-}; fi
case $arch in
  32) toolchain=cmake/mingw-i686.cmake winearch=win32 wine_packages=(wine wine32:i386)
      mingw_package=g++-mingw-w64-i686 ;;
  64) toolchain=cmake/mingw-x86_64.cmake winearch=win64 wine_packages=(wine wine64)
      mingw_package=g++-mingw-w64-x86-64 ;;
  *) echo "usage: bash tools/windows-check.sh [--arch 32|64]"; exit 2 ;;
esac
display=${VORLA_CHECK_DISPLAY:-:96}
out=$root/${VORLA_CHECK_DIR:-build-windows-check}
tries=${VORLA_APT_TRIES:-3}
pause=${VORLA_APT_PAUSE:-60}
session=$root/tools/windows-check/session.txt
mkdir -p "$out"
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
pass() { echo "ok: $*"; }

# --- 1. Wine, from Debian's packages --------------------------------------------------------
if [ "$(id -u)" -ne 0 ]; then echo "Run as root: it installs Wine with apt-get."; exit 2; fi
have_packages() {
  local package
  for package in "$@"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' ||
      return 1
  done
}
install_wine() {
  [ "$arch" = 32 ] && dpkg --add-architecture i386
  local attempt
  for attempt in $(seq 1 "$tries"); do
    echo "apt, attempt $attempt of $tries: update, then install ${wine_packages[*]}"
    # An update that fails for one index still refreshes the others: try the install anyway.
    apt-get update -q >"$out/apt-update.log" 2>&1
    if DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends \
      "${wine_packages[@]}" "$mingw_package" xvfb xauth xdotool imagemagick \
      >"$out/apt-install.log" 2>&1; then
      return 0
    fi
    if [ "$attempt" -lt "$tries" ]; then sleep "$pause"; fi
  done
  return 1
}
# Wine for 32-bit programs is itself a 32-bit Linux program. This one, a few bytes that only
# exit (through int 0x80), tells whether the kernel runs such programs at all.
runs_32bit_programs() {
  local elf=$out/exit32
  printf '\x7fELF\x01\x01\x01\0\0\0\0\0\0\0\0\0\x02\0\x03\0\x01\0\0\0\x54\x80\x04\x08' >"$elf"
  printf '\x34\0\0\0\0\0\0\0\0\0\0\0\x34\0\x20\0\x01\0\0\0\0\0\0\0' >>"$elf"
  printf '\x01\0\0\0\0\0\0\0\0\x80\x04\x08\0\x80\x04\x08\x5d\0\0\0\x5d\0\0\0' >>"$elf"
  printf '\x05\0\0\0\0\x10\0\0\xb8\x01\0\0\0\x31\xdb\xcd\x80' >>"$elf"
  chmod +x "$elf"
  "$elf" 2>"$out/exit32.log"
}
kernel_note=
if [ "$arch" = 32 ] && ! runs_32bit_programs; then
  kernel_note="this machine's kernel does not run 32-bit programs ($(sed 's/.*: //' \
    "$out/exit32.log" | head -n 1)), so wine32 could not run here even once installed"
  echo "Note: $kernel_note."
fi
if ! have_packages "${wine_packages[@]}" "$mingw_package" xvfb xdotool imagemagick; then
  if ! install_wine; then
    echo "Wine for $arch-bit programs cannot be had: apt failed $tries times. Its messages:"
    for log in "$out/apt-update.log" "$out/apt-install.log"; do
      echo " $(basename "$log"):"
      grep -E '^(E|W|Err):|unexpected size|Depends:|Hashes|Filesize|Release file|not going' \
        "$log" | sed 's/^/  /'
    done
    [ -n "$kernel_note" ] && echo "Besides, $kernel_note."
    [ "$arch" = 32 ] && echo "(bash tools/windows-check.sh --arch 64 checks the 64-bit build instead.)"
    exit 3
  fi
fi
if [ -n "$kernel_note" ]; then
  echo "Wine for 32-bit programs cannot run: $kernel_note."
  echo "(bash tools/windows-check.sh --arch 64 checks the 64-bit build instead.)"
  exit 3
fi
echo "Wine: $(wine --version 2>/dev/null)"

# --- 2. Builds -----------------------------------------------------------------------------
echo "building the Windows program ($toolchain) and the Linux tool"
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
if ! { cmake -S . -B "$out/mingw$arch" -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DBUILD_TESTING=OFF \
  -DVORLA_BENCH=OFF "${launcher[@]}" &&
  cmake --build "$out/mingw$arch" -j2 --target cone-designer windows-probe &&
  cmake -S . -B "$out/linux" -DBUILD_TESTING=OFF -DVORLA_BENCH=OFF "${launcher[@]}" &&
  cmake --build "$out/linux" -j2 --target headless-designer; } >"$out/build.log" 2>&1; then
  tail -n 30 "$out/build.log"
  echo "the builds failed (see $out/build.log)"
  exit 1
fi
exe=$out/mingw$arch/cone-designer.exe
probe_exe=$out/mingw$arch/windows-probe.exe
tool=$out/linux/headless-designer
echo "DLL imports of cone-designer.exe:"
objdump -p "$exe" | grep 'DLL Name' | sed 's/^[[:space:]]*/  /'

# --- 3a. The Linux program ----------------------------------------------------------------
rm -rf "$out/linux-record" "$out/linux-play" "$out/wine-record" "$out/wine-play"
mkdir -p "$out/linux-record" "$out/linux-play" "$out/wine-record" "$out/wine-play"
(cd "$out/linux-record" && "$tool" record "$session") || fail "the Linux program's recording"
cp "$out/linux-record/VORLA.SCR" "$out/linux-play/" 2>/dev/null
(cd "$out/linux-play" && "$tool" play linux) || fail "the Linux program's playback"

# --- 3b. Xvfb and a fresh Wine prefix -------------------------------------------------------
export DISPLAY=$display WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" WINEARCH=$winearch
export WINEPREFIX=$out/prefix$arch
xvfb_pid=
cleanup() {
  wineserver -k 2>/dev/null
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
}
trap cleanup EXIT
if ! xdpyinfo >/dev/null 2>&1; then
  Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >"$out/xvfb.log" 2>&1 &
  xvfb_pid=$!
  for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.2; done
fi
rm -rf "$WINEPREFIX"
if ! wineboot -i >"$out/wineboot.log" 2>&1; then
  cat "$out/wineboot.log"
  echo "Wine does not start a $winearch prefix on this machine (see above)."
  if [ "$arch" = 32 ] && ! /usr/lib/wine/wine --version >/dev/null 2>&1; then
    echo "Wine's 32-bit loader does not run here: $(/usr/lib/wine/wine --version 2>&1 | head -n 1)"
    echo "(this machine's kernel does not run 32-bit programs; --arch 64 checks the 64-bit build)"
  fi
  exit 3
fi
wineserver -w
# No window manager: Wine draws the caption, the close box and the menu bar itself.
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
wineserver -w
# Text as the classic desktop draws it, without smoothing, as for the GDI references.
. tools/wine-fonts.sh
plain_text_fonts

# --- Driving the Windows program ----------------------------------------------------------
# Starts the program in the folder $1; its exit status goes to $1/exit-status.
start_program() {
  (cd "$1" && wine "$exe" >/dev/null 2>&1; echo $? >"$1/exit-status") &
  local _
  for _ in $(seq 60); do
    sleep 0.5
    if wine "$probe_exe" window "$out/window.txt" 2>/dev/null; then
      # The probe writes text files the Windows way, with CR LF line ends.
      read -r _ client_x client_y client_w client_h < <(tr -d '\r' <"$out/window.txt" | grep '^client')
      read -r _ menu_x menu_y < <(tr -d '\r' <"$out/window.txt" | grep '^menu')
      read -r _ close_x close_y < <(tr -d '\r' <"$out/window.txt" | grep '^close')
      sleep 1
      # The pointer over the client area: without a window manager the keyboard follows it.
      xdotool mousemove $((client_x + client_w - 20)) $((client_y + 20))
      return 0
    fi
  done
  return 1
}
# Centred coordinates of the drawing window to the screen.
click_centred() {
  xdotool mousemove $((client_x + client_w / 2 + $1)) $((client_y + client_h / 2 - $2)) click 1
}
# Opens the Run menu with a click on its title and clicks text item $1 of the popup.
menu_item() {
  xdotool mousemove "$menu_x" "$menu_y" click 1
  sleep 0.6
  local _ left top right bottom item_x item_y
  wine "$probe_exe" popup "$out/popup.txt" || { fail "no popup opened on a click on Run"; return; }
  read -r _ left top right bottom < <(tr -d '\r' <"$out/popup.txt")
  import -window root -crop $((right - left))x$((bottom - top))+$left+$top +repage \
    "ppm:$out/popup.ppm"
  if read -r item_x item_y < <("$tool" popup-item "$out/popup.ppm" "$1"); then
    xdotool mousemove $((left + item_x)) $((top + item_y)) click 1
  else
    fail "item $1 not found in the open Run menu"
    xdotool key Escape Escape
  fi
}
run_plan() {
  local verb a b
  while read -r verb a b; do
    case $verb in
      click) click_centred "$a" "$b" ;;
      key) xdotool key "$a" ;;
      sleep) sleep "$(awk -v ms="$a" 'BEGIN { print ms / 1000 }')" ;;
      menu-item) menu_item "$a" ;;
    esac
  done < <("$tool" plan "$session")
}
capture_client() {
  import -window root -crop "${client_w}x${client_h}+${client_x}+${client_y}" +repage "ppm:$1"
}
# Closes the window with its close box and waits for the program's exit status.
close_program() {
  xdotool mousemove "$close_x" "$close_y" click 1
  local _
  for _ in $(seq 40); do
    [ -s "$1/exit-status" ] && break
    sleep 0.5
  done
  local status
  status=$(cat "$1/exit-status" 2>/dev/null || echo "none: still running")
  if [ "$status" = 0 ]; then
    pass "closing the window ended the program with status 0"
  else
    fail "closing the window: exit status $status"
    wineserver -k 2>/dev/null
  fi
}

# --- 3c. The session under Wine: menu by mouse and keys, recording ----------------------------
echo "giving the session to the Windows program under Wine"
if start_program "$out/wine-record"; then
  echo "  client area at ($client_x, $client_y), $client_w x $client_h"
  run_plan
  sleep 1
  close_program "$out/wine-record"
  if cmp -s "$out/linux-record/VORLA.SCR" <(tr -d '\r' <"$out/wine-record/VORLA.SCR" 2>/dev/null); then
    pass "the recording under Wine has the Linux program's $(wc -l <"$out/linux-record/VORLA.SCR") lines"
  else
    fail "the recordings differ:"
    diff <(tr -d '\r' <"$out/wine-record/VORLA.SCR" 2>/dev/null) "$out/linux-record/VORLA.SCR" |
      head -n 20
  fi
else
  fail "the Windows program's window did not appear"
fi

# --- 4. Playback under Wine and the comparison -------------------------------------------------
echo "playing the recording in the Windows program"
cp "$out/linux-record/VORLA.SCR" "$out/wine-play/"
if start_program "$out/wine-play"; then
  xdotool key ctrl+p
  # Playback is not paced and switches the animation off: once the script has ended nothing
  # changes. The picture is taken when three captures a second apart agree.
  stable=0
  for _ in $(seq 120); do
    sleep 1
    capture_client "$out/wine-play/wine.ppm"
    if [ -f "$out/wine-play/previous.ppm" ] && cmp -s "$out/wine-play/wine.ppm" "$out/wine-play/previous.ppm"; then
      stable=$((stable + 1))
    else
      stable=0
    fi
    [ "$stable" -ge 2 ] && break
    cp "$out/wine-play/wine.ppm" "$out/wine-play/previous.ppm"
  done
  [ "$stable" -ge 2 ] || fail "the picture under Wine did not come to rest in two minutes"
  convert "$out/wine-play/wine.ppm" "$out/wine-play/wine.png"
  close_program "$out/wine-play"
  if wine "$probe_exe" ink "$out/linux-play/linux-text.txt" "$out/wine-play/wine-ink.txt"; then
    echo "comparing the client areas (Linux: $out/linux-play/linux.png," \
      "Wine: $out/wine-play/wine.png, differences: $out/diff.png, red outside text, blue inside)"
    "$tool" compare "$out/linux-play/linux.ppm" "$out/wine-play/wine.ppm" \
      "$out/linux-play/linux-text.txt" "$out/linux-play/linux-ink.txt" \
      "$out/wine-play/wine-ink.txt" "$out/diff.png" ||
      fail "the pictures differ outside text, or in size"
  else
    fail "the probe could not measure the text under Wine"
  fi
else
  fail "the Windows program's window did not appear"
fi

if [ "$failures" -eq 0 ]; then
  echo "windows-check ($arch-bit): all checks passed"
else
  echo "windows-check ($arch-bit): $failures check(s) failed"
fi
[ "$failures" -eq 0 ]
