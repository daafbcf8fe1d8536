#!/usr/bin/env bash
# Keys on the user's own keyboard layout, on an X display (Xvfb, layouts set with setxkbmap,
# keys pressed with xdotool as that layout's keyboard sends them): the characters are the
# layout's, AltGr and dead keys included, in Windows-1252; Ctrl+letter follows the letter on the
# key; a recording of them plays back the same with Ctrl+P as through VORLA_PLAY, picture and
# all. Needs Xvfb, setxkbmap, xdotool and ImageMagick.
# Usage: keyboard_layouts.sh BUILD_DIR
set -uo pipefail
build=$(realpath "$1")
. "$(dirname "$0")/x_server.sh" "${VORLA_LAYOUT_TEST_DISPLAY:-93}" 1280x1024

# start PROGRAM: runs it in a folder of its own ($folder) and gives its drawing window the
# keyboard ($window, $program).
start() {
  folder=$(mktemp -d -p "$work")
  (cd "$folder" && exec "$1" >/dev/null 2>&1) &
  program=$!
  window=$(xdotool search --sync --name "VORLA Graphics" | head -1)
  sleep 0.5
  xdotool windowfocus --sync "$window"
}
# finish: closes the window; the program must end by itself with status 0.
finish() {
  xdotool windowclose "$window"
  wait "$program"
  local status=$?
  [ $status = 0 ] || fail "$1: the program ended with status $status"
}
# record LAYOUT TEXT [KEYS...]: on that layout, types TEXT and presses KEYS into the typing
# example while it records, and leaves its VORLA.SCR as $folder/VORLA.SCR.
record() {
  local layout=$1 text=$2
  shift 2
  setxkbmap $layout
  start "$build/examples/typing"
  xdotool key ctrl+r
  [ -n "$text" ] && xdotool type --delay 80 "$text"
  [ $# -gt 0 ] && xdotool key --delay 80 "$@"
  xdotool key ctrl+r
  sleep 0.3
  finish "typing on $layout"
}
# expect_keys LAYOUT CODE...: the recording holds exactly these key lines.
expect_keys() {
  local layout=$1 want="" code
  shift
  for code in "$@"; do want+="VORLA_KBD($code);"$'\n'; done
  [ "$(cat "$folder/VORLA.SCR" 2>/dev/null)"$'\n' = "$want" ] ||
    fail "$layout: recorded $(tr '\n' ' ' <"$folder/VORLA.SCR" 2>/dev/null), wanted $(echo $want)"
}

record us 'Hi, 1+2=3!' Return BackSpace
expect_keys us 72 105 44 32 49 43 50 61 51 33 13 8
record de 'zyx@a' adiaeresis EuroSign
expect_keys de 122 121 120 64 97 -28 -128
record es '' ntilde at ccedilla dead_acute a
expect_keys es -15 64 -25 -31
record "us -variant intl" '' dead_acute e dead_diaeresis u dead_grave a dead_acute space
expect_keys "us intl" -23 -4 -32 39

# A French keyboard's Ctrl+A is the key left of Z: animation, on the welcome screen and in the
# designer, where the Run menu's keys are recorded as what they do (ticks while animation runs).
setxkbmap fr
start "$build/cone-designer"
xdotool key ctrl+a
sleep 0.3
# The welcome screen's box, at (0, -197) in centred coordinates: the client area's centre is
# (297, 248), below the 19-pixel menu bar.
xdotool mousemove --window "$window" 297 $((19 + 248 + 197)) click 1
sleep 0.5
xdotool key ctrl+h ctrl+r
sleep 0.5
xdotool key ctrl+a
sleep 0.8
xdotool key ctrl+r
sleep 0.3
kill -0 $program 2>/dev/null || fail "French Ctrl+A ended the designer"
grep -qx 'VORLA_PERIODIC([0-9]*);' "$folder/VORLA.SCR" 2>/dev/null &&
  [ "$(wc -l <"$folder/VORLA.SCR")" = 1 ] ||
  fail "French Ctrl+H, Ctrl+A: recorded $(cat "$folder/VORLA.SCR" 2>/dev/null)"
finish "the designer on a French keyboard"

# A recording made on a French keyboard with é, ä, ß, € and @, played back with Ctrl+P on the
# screen and through VORLA_PLAY without one: the same characters and the same picture.
record fr 'é' dead_diaeresis a ssharp EuroSign at
expect_keys fr -23 -28 -33 -128 64
script=$folder/VORLA.SCR
start "$build/examples/typing"
cp "$script" "$folder/VORLA.SCR"
xdotool key ctrl+p
sleep 1
import -window "$window" "$work/screen.png"
finish "typing played back with Ctrl+P"
convert "$work/screen.png" -crop 595x496+0+19 +repage "$work/screen-client.png"
(cd "$work" && VORLA_DISPLAY=headless VORLA_PLAY="$script" VORLA_SNAPSHOT=headless.png \
  "$build/examples/typing") || fail "the headless run: status $?"
differing=$(compare -metric AE "$work/screen-client.png" "$work/headless.png" "$work/diff.png" 2>&1)
[ "$differing" = 0 ] || fail "Ctrl+P and VORLA_PLAY: $differing pixels differ"
blank=$(VORLA_DISPLAY=headless VORLA_SNAPSHOT="$work/blank.png" "$build/examples/typing" &&
  compare -metric AE "$work/blank.png" "$work/headless.png" /dev/null 2>&1)
[ "$blank" != 0 ] || fail "the played characters left no mark"

setxkbmap us
[ $failures = 0 ] && echo "keyboard layouts: US, German, Spanish, US international and French" \
  "typed as their keyboards type; French Ctrl+A animates; a French recording plays the same" \
  "with Ctrl+P and VORLA_PLAY"
exit $failures
