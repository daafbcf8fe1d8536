#!/bin/sh
# A program's own names cannot meet the library's: the program with its own Ellipse, Rectangle,
# POINT, RECT and origin_x draws, linked with the shared and with the static library, the picture
# the same program draws with other names; and the shared library exports its own names alone.
# Usage: own_names.sh SHARED-BUILD STATIC-BUILD PLAIN-BUILD LIBVORLA.SO
failures=0
fail() { echo "FAILED: $*"; failures=$((failures + 1)); }
for program in "$1" "$2" "$3"; do
  VORLA_DISPLAY=headless VORLA_SNAPSHOT="$(basename "$program").png" "$program" ||
    fail "$program: status $?"
done
cmp -s "$(basename "$1").png" "$(basename "$3").png" || fail "linked with the shared library"
cmp -s "$(basename "$2").png" "$(basename "$3").png" || fail "linked with the static library"
others=$(nm -D --defined-only "$4" | awk '{ print $3 }' | sed 's/@.*//' | c++filt |
  grep -v -e '^gfx_' -e '^VORLA_1$' -e '^platform::layer_')
[ -z "$others" ] || fail "libvorla.so exports $(echo $others)"
exit $failures
