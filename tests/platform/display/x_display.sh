#!/usr/bin/env bash
# The program on an X display (Xvfb, 3840 x 2160). Scaled at Xft.dpi 192: its windows are twice
# their size, a click on a scaled place acts there, the picture is the unscaled one with every
# pixel doubled, and the screen is reported in scaled units (the text window still along the
# bottom third). Its drawing window destroyed by another X client: the program ends as at a
# close, with status 0 and nothing said. Two programs recording in one folder: the second says
# so and writes nothing. Needs Xvfb, xprop, xdotool and ImageMagick.
# Usage: x_display.sh BUILD_DIR
set -uo pipefail
build=$(realpath "$1")
. "$(dirname "$0")/x_server.sh" "${VORLA_SCALE_TEST_DISPLAY:-94}" 3840x2160
cd "$work" || exit 2

# draw SCALE NAME: runs the paint example, clicks three places of its drawing area (centred
# coordinates, at SCALE times their place on the screen) and saves its window as NAME.png.
draw() {
  local scale=$1 name=$2 x y
  "$build/examples/paint" &
  local program=$!
  local window
  window=$(xdotool search --sync --name "VORLA Graphics" | head -1)
  sleep 0.5
  for point in "-100 50" "120 -80" "0 200"; do
    read -r x y <<<"$point"
    # The menu bar (19 pixels) lies above the client area, whose centre is (297, 248).
    xdotool mousemove $(((297 + x) * scale)) $(((19 + 248 - y) * scale)) click 1
    sleep 0.2
  done
  sleep 0.5
  geometry=$(xdotool getwindowgeometry "$window" | sed -n 's/.*Geometry: //p')
  import -window "$window" "$name.png"
  kill "$program"
  wait "$program" 2>/dev/null
}

VORLA_SCALE=1 draw 1 plain
[ "$geometry" = 595x515 ] || fail "unscaled window $geometry"
xprop -root -f RESOURCE_MANAGER 8s -set RESOURCE_MANAGER "Xft.dpi:	192"
draw 2 scaled
[ "$geometry" = 1190x1030 ] || fail "window at Xft.dpi 192: $geometry (1190x1030 expected)"
convert plain.png -scale 200% enlarged.png
differing=$(compare -metric AE enlarged.png scaled.png diff.png 2>&1)
[ "$differing" = 0 ] || fail "$differing pixels differ from the unscaled picture doubled"

# The event monitor shows the text window: on a screen of 1920 x 1080 scaled units it begins
# at 2 * 1080 / 3 + 1 = 721, 1442 screen pixels.
"$build/event-monitor" >/dev/null &
program=$!
text=$(xdotool search --sync --name "VORLA Text" | head -1)
sleep 0.5
top=$(xdotool getwindowgeometry "$text" | sed -n 's/.*Position: [0-9]*,\([0-9]*\).*/\1/p')
kill $program
wait $program 2>/dev/null  # its windows gone, so that the search below finds the designer's
[ "$top" = 1442 ] || fail "the text window's top at $top (1442 expected)"

# Five times, as the errors of the window's last calls arrive at varying moments.
for run in 1 2 3 4 5; do
  "$build/cone-designer" >said.txt 2>&1 &
  program=$!
  xdotool windowclose "$(xdotool search --sync --name "VORLA Graphics" | head -1)"
  wait $program
  status=$?
  [ $status = 0 ] && [ ! -s said.txt ] ||
    fail "destroyed from outside (run $run): status $status, $(head -n 2 said.txt)"
done
# Two programs recording in one folder: the first keeps its recording whole, the second says
# in its log that the file is another program's and writes nothing.
xprop -root -remove RESOURCE_MANAGER
mkdir two && cd two || exit 2
VORLA_LOG=first.log "$build/examples/typing" &
first=$!
first_window=$(xdotool search --sync --name "VORLA Graphics" | head -1)
VORLA_LOG=second.log "$build/examples/typing" &
second=$!
sleep 0.5
second_window=$(xdotool search --name "VORLA Graphics" | grep -vx "$first_window" | head -1)
xdotool windowfocus --sync "$first_window" key ctrl+r type --delay 50 'abc'
xdotool windowfocus --sync "$second_window" key ctrl+r type --delay 50 'xyz'
xdotool key ctrl+r
xdotool windowfocus --sync "$first_window" type --delay 50 'd'
xdotool key ctrl+r
sleep 0.3
kill $first $second
wait $first $second 2>/dev/null
[ "$(cat VORLA.SCR)" = "$(printf 'VORLA_KBD(%d);\n' 97 98 99 100)" ] ||
  fail "two recorders: VORLA.SCR holds $(tr '\n' ' ' <VORLA.SCR)"
grep -qx "Cannot record script file VORLA.SCR: another program is recording it" second.log ||
  fail "two recorders: the second one's log says $(cat second.log)"
cd .. || exit 2

[ $failures = 0 ] && echo "X display: window 1190x1030 at Xft.dpi 192, the picture the unscaled" \
  "one doubled; a window destroyed from outside ends the program with status 0; of two" \
  "programs recording in one folder, the second says so and leaves the first's file whole"
exit $failures
