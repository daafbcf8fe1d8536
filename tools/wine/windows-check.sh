#!/usr/bin/env bash
# Proves the Windows program under Wine against the Linux program; run by hand as root, not in
# CI (Wine is a large install). Usage: bash tools/wine/windows-check.sh [--arch 32|64]
#
# 1. Wine for the build's programs. For 32-bit programs (the default), where the kernel runs
#    them, Debian's wine32 with the i386 architecture added, retrying apt a bounded number of
#    times. Where it does not, the host's apt is left as it is: qemu-i386 (Debian's
#    qemu-user-static) is registered with binfmt_misc, and Wine runs from an i386 Debian 12
#    root of its own (debootstrap, made once and kept, like tools/fresh-check.sh's), with a
#    template Wine prefix made there once; Xvfb, xdotool and the builds stay on the host. Each
#    Wine program then starts in minutes, not seconds: the waits below are stretched to match.
#    --arch 64 checks the 64-bit build of the same program with wine64 instead.
# 2. Builds cone-designer.exe and windows-probe.exe with the MinGW-w64 toolchain file, and the
#    Linux tools headless-designer and windows-shots (tools/wine/).
# 3. Gives the session tools/wine/session.txt to the Linux program on the headless
#    display and to the Windows program under Wine (xdotool, in a fresh Wine prefix under Xvfb):
#    the Run menu is used with the mouse and with the keys, and both recordings ("VORLA.SCR")
#    must be the same. Closing the window (its close box, or Alt+F4 where Wine draws none) must
#    end the program with status 0.
# 4. Plays the recording in both programs (Ctrl+P) and, once the script has ended and nothing
#    moves any more, compares the drawing window's client areas pixel by pixel: outside the
#    boxes where either system's font put text the pictures must be identical; inside them the
#    differing pixels are counted and reported.
# Results go to build-windows-check/ (or $VORLA_CHECK_DIR); the display is $VORLA_CHECK_DISPLAY
# (default :96). The i386 root and the template prefix are kept in /var/cache/vorla-wine32 (or
# $VORLA_WINE32_CACHE), made from $VORLA_DEBIAN_MIRROR (default http://deb.debian.org/debian).
# VORLA_CHECK_EXE=FILE checks that cone-designer.exe (the Windows download's, say) in place of
# the one it builds.
# Exit status 0 only when every check passed; 3 when Wine cannot be had.
set -uo pipefail
given_exe=${VORLA_CHECK_EXE:+$(realpath "$VORLA_CHECK_EXE")}
cd "$(dirname "$0")/../.." || exit 2
root=$PWD

arch=32
if [ "${1:-}" = "--arch" ]; then arch=${2:-}; fi
case $arch in
  32) toolchain=cmake/mingw-i686.cmake winearch=win32 wine_packages=(wine wine32:i386)
      mingw_package=g++-mingw-w64-i686 ;;
  64) toolchain=cmake/mingw-x86_64.cmake winearch=win64 wine_packages=(wine wine64)
      mingw_package=g++-mingw-w64-x86-64 ;;
  *) echo "usage: bash tools/wine/windows-check.sh [--arch 32|64]"; exit 2 ;;
esac
display=${VORLA_CHECK_DISPLAY:-:96}
out=$root/${VORLA_CHECK_DIR:-build-windows-check}
tries=${VORLA_APT_TRIES:-3}
pause=${VORLA_APT_PAUSE:-60}
cache=${VORLA_WINE32_CACHE:-/var/cache/vorla-wine32}
mirror=${VORLA_DEBIAN_MIRROR:-http://deb.debian.org/debian}
session=$root/tools/wine/session.txt
mkdir -p "$out"
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
pass() { echo "ok: $*"; }
minutes() { echo "$(((SECONDS - $1 + 30) / 60)) min"; }

# --- 1. Wine -----------------------------------------------------------------------------------
if [ "$(id -u)" -ne 0 ]; then echo "Run as root: it installs Wine with apt-get."; exit 2; fi

# Wine for 32-bit programs is itself a 32-bit Linux program. This one, a few bytes that only
# exit (through int 0x80), tells whether the kernel runs such programs at all: asked with the
# i386 emulators of binfmt_misc (an earlier check's among them) set aside for the moment.
exit32=$out/exit32
binfmt=/proc/sys/fs/binfmt_misc
i386_magic=7f454c4601010100000000000000000002000300
write_exit32() {
  printf '\x7fELF\x01\x01\x01\0\0\0\0\0\0\0\0\0\x02\0\x03\0\x01\0\0\0\x54\x80\x04\x08' >"$exit32"
  printf '\x34\0\0\0\0\0\0\0\0\0\0\0\x34\0\x20\0\x01\0\0\0\0\0\0\0' >>"$exit32"
  printf '\x01\0\0\0\0\0\0\0\0\x80\x04\x08\0\x80\x04\x08\x5d\0\0\0\x5d\0\0\0' >>"$exit32"
  printf '\x05\0\0\0\0\x10\0\0\xb8\x01\0\0\0\x31\xdb\xcd\x80' >>"$exit32"
  chmod +x "$exit32"
}
kernel_runs_32bit_programs() {
  mountpoint -q "$binfmt" || mount -t binfmt_misc binfmt_misc "$binfmt" 2>/dev/null
  local emulators=() entry status
  for entry in "$binfmt"/*; do
    grep -qx enabled "$entry" 2>/dev/null && grep -qx "magic $i386_magic" "$entry" &&
      emulators+=("$entry")
  done
  for entry in "${emulators[@]}"; do echo 0 >"$entry"; done
  "$exit32" 2>"$out/exit32.log"
  status=$?
  for entry in "${emulators[@]}"; do echo 1 >"$entry"; done
  return "$status"
}
# VORLA_WINE32_ROUTE=qemu takes the emulated route even where the kernel runs 32-bit programs
# (binfmt_misc's emulator comes before the kernel's own loader), to try it on such a machine.
route=native
if [ "$arch" = 32 ]; then
  write_exit32
  if [ "${VORLA_WINE32_ROUTE:-}" = qemu ] || ! kernel_runs_32bit_programs; then route=emulated; fi
fi
# The emulated route's mounts live in a mount namespace of the check's own, so that they vanish
# with it however the run ends.
if [ "$route" = emulated ] && [ -z "${VORLA_CHECK_NAMESPACE:-}" ]; then
  VORLA_CHECK_NAMESPACE=1 exec unshare --mount --propagation private \
    bash "$root/tools/wine/windows-check.sh" "$@"
fi

host_packages=("$mingw_package" xvfb xauth xdotool imagemagick)
if [ "$route" = native ]; then
  host_packages+=("${wine_packages[@]}")
else
  host_packages+=(qemu-user-static debootstrap)
fi
have_packages() {
  local package
  for package in "$@"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' ||
      return 1
  done
}
# Retries apt a bounded number of times. $1 names what it installs into ("" for the host),
# $2 its log folder, the rest the packages.
apt_install() {
  local into=$1 logs=$2 attempt
  shift 2
  local run=()
  [ -n "$into" ] && run=(chroot "$into" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin)
  for attempt in $(seq 1 "$tries"); do
    echo "apt${into:+ in $into}, attempt $attempt of $tries: update, then install $*"
    # An update that fails for one index still refreshes the others: try the install anyway.
    "${run[@]}" apt-get update -q >"$logs/apt-update.log" 2>&1
    if "${run[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q \
      --no-install-recommends "$@" >"$logs/apt-install.log" 2>&1; then
      return 0
    fi
    if [ "$attempt" -lt "$tries" ]; then sleep "$pause"; fi
  done
  echo "apt failed $tries times. Its messages:"
  for log in "$logs/apt-update.log" "$logs/apt-install.log"; do
    echo " $(basename "$log"):"
    grep -E '^(E|W|Err):|unexpected size|Depends:|Hashes|Filesize|Release file|not going' \
      "$log" | sed 's/^/  /'
  done
  return 1
}
if ! have_packages "${host_packages[@]}"; then
  [ "$route" = native ] && [ "$arch" = 32 ] && dpkg --add-architecture i386
  if ! apt_install "" "$out" "${host_packages[@]}"; then
    echo "Wine for $arch-bit programs cannot be had."
    if [ "$route" = native ] && [ "$arch" = 32 ]; then
      echo "(VORLA_WINE32_ROUTE=qemu takes Wine from an i386 root of its own instead, without the"
      echo "host's apt; bash tools/wine/windows-check.sh --arch 64 checks the 64-bit build.)"
    fi
    exit 3
  fi
fi

# The emulated route: qemu-i386 for every i386 program, and Wine in a root of its own.
wine_root=$cache/root
registered=$binfmt/qemu-i386
# The F flag has the kernel open the emulator once, here, so that it serves inside the root too.
register_qemu_i386() {
  if [ -e "$registered" ]; then
    grep -q '^flags:.*F' "$registered" && grep -qx enabled "$registered" && return 0
    echo -1 >"$registered"
  fi
  # An i386 ELF executable or shared object: its header's first 20 bytes, and which bits count.
  local magic='\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00'
  local mask='\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff'
  printf '%s' ":qemu-i386:M::$magic:$mask:/usr/bin/qemu-i386-static:F" >"$binfmt/register"
}
# Everything mounted below the root, innermost last.
mounts_under() { awk -v r="$1" '$2 == r || index($2, r "/") == 1 { print $2 }' /proc/mounts; }
# The root sees the host's devices, a /tmp of its own (Wine's server socket), the host's X
# sockets, and this checkout at the same path as the host does.
mount_wine_root() {
  [ -n "$(mounts_under "$wine_root")" ] && return 0
  mount -t proc proc "$wine_root/proc" &&
    mount --bind /sys "$wine_root/sys" &&
    mount --bind /dev "$wine_root/dev" &&
    mount --bind /dev/pts "$wine_root/dev/pts" &&
    mount -t tmpfs tmpfs "$wine_root/dev/shm" &&
    mount -t tmpfs tmpfs "$wine_root/tmp" &&
    { [ -d /tmp/.X11-unix ] || mkdir -m 1777 /tmp/.X11-unix; } &&
    mkdir -p "$wine_root/tmp/.X11-unix" &&
    mount --bind /tmp/.X11-unix "$wine_root/tmp/.X11-unix" &&
    mkdir -p "$wine_root$root" &&
    mount --bind "$root" "$wine_root$root"
}
# Debian 12 for i386, minimal, from the main archive alone, with Wine and fonts; made once.
make_wine_root() {
  [ -e "$wine_root/.complete" ] && return 0
  local started=$SECONDS
  echo "making the i386 Debian root with Wine in $wine_root (once)"
  mkdir -p "$cache"
  if [ ! -e "$wine_root/.bootstrapped" ]; then
    if [ -n "$(mounts_under "$wine_root")" ]; then
      echo "$wine_root still has mounts; not removing it."
      return 1
    fi
    rm -rf "$wine_root"
    if ! debootstrap --arch=i386 --variant=minbase bookworm "$wine_root" "$mirror" \
      >"$cache/debootstrap.log" 2>&1; then
      tail -n 20 "$cache/debootstrap.log"
      echo "debootstrap failed (see $cache/debootstrap.log)"
      return 1
    fi
    touch "$wine_root/.bootstrapped"
    echo "  debootstrap: $(minutes "$started")"
  fi
  cp /etc/resolv.conf "$wine_root/etc/resolv.conf"
  mount_wine_root || return 1
  apt_install "$wine_root" "$cache" wine wine32 fonts-dejavu-core fonts-dejavu-extra \
    fonts-liberation2 || return 1
  touch "$wine_root/.complete"
  echo "  the root is ready: $(minutes "$started")"
}
# Runs a command of the root in the current folder, with the variables Wine is given here.
in_wine_root() {
  local vars=(HOME=/root PATH=/usr/bin:/bin:/usr/sbin:/sbin "LANG=${LANG:-C.UTF-8}") name
  for name in DISPLAY WINEDEBUG WINEDLLOVERRIDES WINEARCH WINEPREFIX FONTCONFIG_FILE; do
    [ -n "${!name:-}" ] && vars+=("$name=${!name}")
  done
  chroot "$wine_root" /usr/bin/env -i -C "$PWD" "${vars[@]}" "$@"
}

# Every wait for a Wine program is this many times as long as where Wine runs natively.
patience=1
if [ "$route" = emulated ]; then
  patience=15
  if [ "${VORLA_WINE32_ROUTE:-}" = qemu ]; then
    echo "Note: VORLA_WINE32_ROUTE=qemu: Wine runs through qemu-i386 in an i386 root."
  else
    echo "Note: this machine's kernel does not run 32-bit programs ($(sed 's/.*: //' \
      "$out/exit32.log" | head -n 1)): Wine runs through qemu-i386 in an i386 root."
  fi
  if ! register_qemu_i386 || ! "$exit32"; then
    echo "qemu-i386 could not be registered with binfmt_misc, or does not run i386 programs:"
    cat "$registered" 2>/dev/null
    exit 3
  fi
  make_wine_root || { echo "Wine for 32-bit programs cannot be had."; exit 3; }
  mount_wine_root || { echo "the i386 root could not be mounted"; exit 3; }
  wine() { in_wine_root wine "$@"; }
  wineboot() { in_wine_root wineboot "$@"; }
  wineserver() { in_wine_root wineserver "$@"; }
fi
echo "Wine: $(wine --version 2>/dev/null)"

# --- 2. Builds -----------------------------------------------------------------------------
echo "building the Windows program ($toolchain) and the Linux tool"
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
windows_targets=(cone-designer windows-probe)
[ -n "$given_exe" ] && windows_targets=(windows-probe)
if ! { cmake -S . -B "$out/mingw$arch" -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DBUILD_TESTING=OFF \
  -DVORLA_BENCH=OFF "${launcher[@]}" &&
  cmake --build "$out/mingw$arch" -j2 --target "${windows_targets[@]}" &&
  cmake -S . -B "$out/linux" -DBUILD_TESTING=OFF -DVORLA_BENCH=OFF "${launcher[@]}" &&
  cmake --build "$out/linux" -j2 --target headless-designer windows-shots; } >"$out/build.log" 2>&1; then
  tail -n 30 "$out/build.log"
  echo "the builds failed (see $out/build.log)"
  exit 1
fi
exe=$out/mingw$arch/cone-designer.exe
if [ -n "$given_exe" ]; then
  # A copy in the results' folder, which Wine's root sees too.
  mkdir -p "$out/given"
  cp "$given_exe" "$out/given/cone-designer.exe" || exit 2
  exe=$out/given/cone-designer.exe
  echo "checking $given_exe"
fi
probe_exe=$out/mingw$arch/windows-probe.exe
tool=$out/linux/headless-designer
shots=$out/linux/windows-shots
echo "DLL imports of cone-designer.exe:"
objdump -p "$exe" | grep 'DLL Name' | sed 's/^[[:space:]]*/  /'

# --- 3a. The Linux program ----------------------------------------------------------------
rm -rf "$out/linux-record" "$out/linux-play" "$out/wine-record" "$out/wine-play"
mkdir -p "$out/linux-record" "$out/linux-play" "$out/wine-record" "$out/wine-play"
(cd "$out/linux-record" && "$tool" record "$session") || fail "the Linux program's recording"
cp "$out/linux-record/VORLA.SCR" "$out/linux-play/" 2>/dev/null
(cd "$out/linux-play" && "$tool" play linux) || fail "the Linux program's playback"

# --- 3b. Xvfb, a fresh Wine prefix and the probe -------------------------------------------
# No Wine menu entries on the host for the prefix's programs (winemenubuilder).
export DISPLAY=$display WINEDEBUG=-all WINEARCH=$winearch
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
export WINEPREFIX=$out/prefix$arch
xvfb_pid=
probe_pid=
probe_dir=$out/probe
cleanup() {
  [ -n "$probe_pid" ] && printf 'quit\n' >"$probe_dir/request"
  wineserver -k 2>/dev/null
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
}
trap cleanup EXIT
if ! xdpyinfo >/dev/null 2>&1; then
  Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >"$out/xvfb.log" 2>&1 &
  xvfb_pid=$!
  for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.2; done
fi
# A new prefix, the way the check's programs will find it: no window manager runs, so Wine
# draws the caption, the close box and the menu bar itself.
new_prefix() {
  if ! wineboot -i >"$out/wineboot.log" 2>&1; then
    cat "$out/wineboot.log"
    echo "Wine does not start a $winearch prefix on this machine (see above)."
    return 1
  fi
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
  wineserver -w
}
rm -rf "$WINEPREFIX"
if [ "$route" = native ]; then
  new_prefix || exit 3
else
  # Under emulation a new prefix takes a quarter of an hour or more, so one is made in the
  # root once, and copied. The first Wine program of a prefix starts wineboot --init, which makes it,
  # and waits five minutes at most for it: too short here, so that program fails (status 53,
  # "could not load kernel32.dll") while the prefix goes on being made. That is waited for to
  # the end, as a prefix whose making was cut short can leave processes blocked for good; then
  # the prefix is told to draw frames, with Wine's session started anew.
  template=/opt/vorla/prefix$arch
  if [ ! -e "$wine_root$template.complete" ]; then
    echo "making the template Wine prefix in the root (once)"
    started=$SECONDS
    rm -rf "$wine_root$template"
    mkdir -p "$(dirname "$wine_root$template")"
    (
      export WINEPREFIX=$template
      in_wine_root timeout 3600 wineboot -i
      echo "wineboot -i: status $?"
      in_wine_root timeout 3600 wineserver -w || exit
      [ -e "$wine_root$template/drive_c/windows/system32/kernel32.dll" ] || exit
      in_wine_root timeout 1800 wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f &&
        in_wine_root timeout 3600 wineserver -w
    ) >"$cache/template.log" 2>&1
    status=$?
    if [ "$status" -ne 0 ]; then
      (export WINEPREFIX=$template && wineserver -k)
      tail -n 20 "$cache/template.log"
      echo "the template prefix could not be made (status $status, see $cache/template.log)"
      exit 3
    fi
    touch "$wine_root$template.complete"
    echo "  the template prefix is ready: $(minutes "$started")"
  fi
  cp -a "$wine_root$template" "$WINEPREFIX"
fi
# Text as the classic desktop draws it, without smoothing, as for the GDI references.
. tools/wine/wine-fonts.sh
plain_text_fonts

# The probe stays for the whole check and answers in milliseconds, where each start of a Wine
# program would take seconds natively and minutes under emulation. It is also the first
# program of the prefix's session, so it waits for the session's start.
rm -rf "$probe_dir"
mkdir -p "$probe_dir"
# Asks the probe: its mode and the mode's arguments. The status is the mode's, 9 for no answer.
probe() {
  rm -f "$probe_dir/answer"
  printf '%s\n' "$@" >"$probe_dir/request.new" && mv "$probe_dir/request.new" "$probe_dir/request"
  local deadline=$((SECONDS + ${probe_wait:-60} * patience))
  while [ ! -s "$probe_dir/answer" ]; do
    [ "$SECONDS" -ge "$deadline" ] && return 9
    sleep 0.05
  done
  # Written the Windows way, with CR LF.
  local status
  status=$(tr -dc '0-9' <"$probe_dir/answer")
  return "${status:-9}"
}
started=$SECONDS
wineserver -p >"$out/wineserver.log" 2>&1
(wine "$probe_exe" serve "$probe_dir" >"$out/probe.log" 2>&1) &
probe_pid=$!
if ! probe_wait=300 probe ready; then
  echo "the probe did not start under Wine (see $out/probe.log)"
  exit 3
fi
echo "Wine's session started: $((SECONDS - started)) s"

# --- Driving the Windows program ----------------------------------------------------------
# Starts the program in the folder $1; its exit status goes to $1/exit-status. Under emulation
# some of Wine's own services can end with the first program (qemu: "uncaught target signal
# 11"); the next program then starts them again and waits up to five minutes for them.
start_program() {
  (cd "$1" && wine "$exe" >/dev/null 2>&1; echo $? >"$1/exit-status") &
  local deadline=$((SECONDS + 60 * patience)) _
  while [ "$SECONDS" -lt "$deadline" ] && [ ! -s "$1/exit-status" ]; do
    sleep 0.5
    if probe window "$out/window.txt"; then
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
# Opens the Run menu with a click on its title and clicks text item $1 of the popup, once the
# popup is there and drawn.
menu_item() {
  xdotool mousemove "$menu_x" "$menu_y" click 1
  sleep 0.6
  local _ left top right bottom item_x item_y deadline=$((SECONDS + 5 * patience))
  until probe popup "$out/popup.txt"; do
    if [ "$SECONDS" -ge "$deadline" ]; then
      fail "no popup opened on a click on Run"
      return
    fi
    sleep 0.2
  done
  read -r _ left top right bottom < <(tr -d '\r' <"$out/popup.txt")
  deadline=$((SECONDS + 2 * patience))
  until import -window root -crop "$((right - left))x$((bottom - top))+$left+$top" +repage \
    "ppm:$out/popup.ppm" && read -r item_x item_y < <("$shots" popup-item "$out/popup.ppm" "$1"); do
    if [ "$SECONDS" -ge "$deadline" ]; then
      fail "item $1 not found in the open Run menu"
      xdotool key Escape Escape
      return
    fi
    sleep 0.5
  done
  xdotool mousemove $((left + item_x)) $((top + item_y)) click 1
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
# Closes the window with its close box, or with Alt+F4 where Wine draws none (it then leaves
# the frame to a window manager, and none runs here), and waits for the program's exit status.
close_program() {
  local how="its close box"
  if [ "$close_x" = none ]; then
    how="Alt+F4 (Wine draws no close box here)"
    xdotool key alt+F4
  else
    xdotool mousemove "$close_x" "$close_y" click 1
  fi
  local deadline=$((SECONDS + 20 * patience))
  while [ ! -s "$1/exit-status" ] && [ "$SECONDS" -lt "$deadline" ]; do sleep 0.5; done
  local status
  status=$(cat "$1/exit-status" 2>/dev/null || echo "none: still running")
  if [ "$status" = 0 ]; then
    pass "closing the window with $how ended the program with status 0"
  else
    fail "closing the window with $how: exit status $status"
    # The probe ends the program; Wine's session goes on.
    probe end
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
  # changes. The picture is taken when captures a second apart have agreed for 2 seconds (for
  # longer under emulation, where a step of the playback can take that long).
  rest=$((2 * patience))
  stable=0
  deadline=$((SECONDS + 120 * patience))
  while [ "$SECONDS" -lt "$deadline" ]; do
    sleep 1
    capture_client "$out/wine-play/wine.ppm"
    if [ -f "$out/wine-play/previous.ppm" ] && cmp -s "$out/wine-play/wine.ppm" "$out/wine-play/previous.ppm"; then
      stable=$((stable + 1))
    else
      stable=0
    fi
    [ "$stable" -ge "$rest" ] && break
    cp "$out/wine-play/wine.ppm" "$out/wine-play/previous.ppm"
  done
  [ "$stable" -ge "$rest" ] ||
    fail "the picture under Wine did not come to rest in $((120 * patience)) s"
  convert "$out/wine-play/wine.ppm" "$out/wine-play/wine.png"
  close_program "$out/wine-play"
  if probe ink "$out/linux-play/linux-text.txt" "$out/wine-play/wine-ink.txt"; then
    echo "comparing the client areas (Linux: $out/linux-play/linux.png," \
      "Wine: $out/wine-play/wine.png, differences: $out/diff.png, magenta outside text, blue inside)"
    "$shots" compare "$out/linux-play/linux.ppm" "$out/wine-play/wine.ppm" \
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
