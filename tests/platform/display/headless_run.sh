#!/bin/sh
# A program's run without a screen, as the environment describes it: the VORLA_PLAY file is
# played as Playback Script plays VORLA.SCR (every line as its event, ticks without waiting for
# the timer, a key below 0 as its Windows-1252 character, an unterminated last line not at all,
# the end said in the log), the log is copied line by line, a program that ends by itself still
# leaves its picture, and variables that make no sense end the run with status 1.
# A program that never asks for an event shows nothing of what it drew.
# Usage: headless_run.sh EVENT-MONITOR MODES-EXAMPLE NEVER-WAITS
monitor=$1
modes=$2
never_waits=$3
failures=0
fail() { echo "FAILED: $*"; failures=$((failures + 1)); }
export VORLA_DISPLAY=headless
printf 'VORLA_MOUSE(10, 20);\r\nVORLA_PERIODIC(2);\nVORLA_MOUSE(1000, 0);\n\nVORLA_KBD(-23);\n%s\n' \
  'VORLA_STOP;' 'VORLA_MOUSE(1, 1);' >run.scr

rm -f run.log
out=$(VORLA_PLAY=run.scr VORLA_LOG=run.log "$monitor" 2>&1 >/dev/null) ||
  fail "the event monitor's run: status $?"
printf '%s\n' '1: mouse x=10 y=20 key=0' '2: periodic x=0 y=0 key=0' '3: periodic x=0 y=0 key=0' \
  '4: mouse x=1000 y=0 key=0' '5: key x=0 y=0 key=-23' | cmp -s - run.log ||
  fail "the log: $(cat run.log)"
[ "$out" = "VORLA_PLAY: line 6 of run.scr is no mouse, key or periodic line; the run plays the \
lines before it" ] || fail "the line that stops the script: $out"

printf 'VORLA_KBD(97);\nVORLA_KBD(98);' >end.scr
rm -f end.log
VORLA_PLAY=end.scr VORLA_LOG=end.log "$monitor" >/dev/null 2>&1 || fail "end.scr: status $?"
printf '%s\n' '1: key x=0 y=0 key=97' 'EOF encountered in script file end.scr' | cmp -s - end.log ||
  fail "a last line without its newline: $(cat end.log)"

rm -f quit.png
printf 'VORLA_KBD(113);\n' >quit.scr
VORLA_PLAY=quit.scr VORLA_SNAPSHOT=quit.png "$modes" && [ -s quit.png ] ||
  fail "a program that quits by itself: status $?, picture $(ls quit.png 2>&1)"

for draw in yes no and-wait; do
  DRAW=$draw VORLA_SNAPSHOT=never-$draw.png "$never_waits" || fail "never-waits, DRAW=$draw: status $?"
done
cmp -s never-yes.png never-no.png && ! cmp -s never-yes.png never-and-wait.png ||
  fail "a program that never asks for an event shows what it drew"

out=$(VORLA_LOG=no-such-folder/run.log "$monitor" 2>&1)
[ $? -eq 1 ] && [ "$out" = 'VORLA_LOG: cannot write no-such-folder/run.log' ] || fail "VORLA_LOG: $out"
out=$(VORLA_TICKS=ten "$monitor" 2>&1)
[ $? -eq 1 ] && [ "$out" = 'VORLA_TICKS="ten" is not a count of ticks' ] || fail "VORLA_TICKS=ten: $out"
out=$(VORLA_PLAY=no-such.scr "$monitor" 2>&1)
[ $? -eq 1 ] && [ "$out" = 'VORLA_PLAY: cannot read no-such.scr: No such file or directory' ] ||
  fail "VORLA_PLAY=no-such.scr: $out"
exit $failures
