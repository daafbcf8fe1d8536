#!/bin/sh
# A program on the SDL back-end, given a display it cannot show windows on, prints one line
# naming the display and the reason and ends with status 1, instead of running unseen.
# Usage: sdl_no_display.sh PROGRAM
program=$1
failures=0

# expect PATTERN [VAR=value...]: runs the program with only those display variables set.
expect() {
  pattern=$1
  shift
  out=$(env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER "$@" timeout 10 "$program" 2>&1)
  status=$?
  lines=$(printf '%s\n' "$out" | wc -l)
  if [ "$status" -ne 1 ] || [ "$lines" -ne 1 ] || ! printf '%s\n' "$out" | grep -q "$pattern"; then
    echo "FAILED with $*: status $status, output:"
    printf '%s\n' "$out"
    failures=$((failures + 1))
  fi
}

name=$(basename "$program")
expect "^$name: no display to open: neither DISPLAY nor WAYLAND_DISPLAY is set\$"
# No X server listens on display 59999, and there is no Wayland compositor to fall back to.
expect "^$name: cannot open display \":59999\": ." DISPLAY=:59999
expect "^$name: cannot open display \"SDL_VIDEODRIVER=offscreen\": .*shows no windows\$" \
  SDL_VIDEODRIVER=offscreen DISPLAY=:59999
exit $failures
