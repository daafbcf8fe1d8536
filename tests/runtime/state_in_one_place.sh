#!/bin/sh
# The runtime keeps everything it changes in one value, vorla::state, so that resetting that one
# value leaves nothing of a run behind. Any other variable the runtime's library can write is
# listed here with the reason it is not the runtime's state; a new one fails this test.
# Usage: state_in_one_place.sh LIBVORLA_RUNTIME.a
others=$(objdump -t "$1" | awk '$4 ~ /^\.(bss|data)/ && $4 !~ /^\.data\.rel\.ro/ &&
    $NF !~ /^(\.|DW\.ref\.|__odr_asan|__asan)/ { print $NF }' | c++filt | sort -u |
  grep -v -x -e 'vorla::state' \
    -e 'gfx_log::release_registered' -e 'vorla::headless_run_start()::registered')
# (Whether an exit handler is registered belongs to the process, not to a run. A sanitizer's
# own marks are left aside.)
[ -z "$others" ] || { echo "the runtime keeps state outside vorla::state:" $others; exit 1; }
