#!/bin/sh
# The display a program gets: VORLA_DISPLAY names the driver, and a name no driver has ends the
# program with one line and status 1; the SDL driver, given a display it cannot show windows on,
# prints one line naming the display and the reason and ends with status 1, instead of running
# unseen; the headless driver needs no display at all.
# Usage: no_display.sh PROGRAM
program=$1
failures=0

# run [VAR=value...]: runs the program for at most `limit` seconds with only those display
# variables set; sets out and status.
limit=10
run() {
  out=$(env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER -u VORLA_DISPLAY "$@" \
    timeout "$limit" "$program" 2>&1)
  status=$?
}

# expect PATTERN [VAR=value...]: the program ends with status 1 and the one line PATTERN.
expect() {
  pattern=$1
  shift
  run "$@"
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
expect "^$name: VORLA_DISPLAY=\"nonsense\" names no display driver (there are: sdl, headless)\$" \
  VORLA_DISPLAY=nonsense DISPLAY=:59999
expect "^$name: cannot open display \":59999\": ." VORLA_DISPLAY=sdl DISPLAY=:59999

# Headless, the program runs without a display, and ends with status 0 when no input is left
# to give it.
run VORLA_DISPLAY=headless
if [ "$status" -ne 0 ] || [ -n "$out" ]; then
  echo "FAILED with VORLA_DISPLAY=headless: status $status (0 expected), output:"
  printf '%s\n' "$out"
  failures=$((failures + 1))
fi
exit $failures
