#!/bin/sh
# A program's run without a screen, as the environment describes it: the script's lines arrive
# as input (a tick line passed over while the program waits for input alone, a click outside
# the drawing area passed over), the log is copied line by line, a program that ends by itself
# still leaves its picture, and variables that make no sense end the run with status 1.
# Usage: headless_run.sh EVENT-MONITOR MODES-EXAMPLE
monitor=$1
modes=$2
failures=0
fail() { echo "FAILED: $*"; failures=$((failures + 1)); }
export VORLA_DISPLAY=headless
printf 'VORLA_MOUSE(10, 20);\r\nVORLA_PERIODIC(2);\nVORLA_MOUSE(1000, 0);\n\nVORLA_KBD(65);\n%s\n' \
  'VORLA_STOP;' 'VORLA_MOUSE(1, 1);' >run.scr

rm -f run.log
out=$(VORLA_PLAY=run.scr VORLA_LOG=run.log "$monitor" 2>&1 >/dev/null) ||
  fail "the event monitor's run: status $?"
printf '1: mouse x=10 y=20 key=0\n2: key x=0 y=0 key=65\n' | cmp -s - run.log ||
  fail "the log: $(cat run.log)"
[ "$out" = "VORLA_PLAY: line 6 of run.scr is no mouse, key or periodic line; the run plays the \
lines before it" ] || fail "the line that stops the script: $out"

rm -f quit.png
printf 'VORLA_KBD(113);\n' >quit.scr
VORLA_PLAY=quit.scr VORLA_SNAPSHOT=quit.png "$modes" && [ -s quit.png ] ||
  fail "a program that quits by itself: status $?, picture $(ls quit.png 2>&1)"

out=$(VORLA_TICKS=ten "$monitor" 2>&1)
[ $? -eq 1 ] && [ "$out" = 'VORLA_TICKS="ten" is not a count of ticks' ] || fail "VORLA_TICKS=ten: $out"
out=$(VORLA_PLAY=no-such.scr "$monitor" 2>&1)
[ $? -eq 1 ] && [ "$out" = 'VORLA_PLAY: cannot read no-such.scr: No such file or directory' ] ||
  fail "VORLA_PLAY=no-such.scr: $out"
exit $failures
