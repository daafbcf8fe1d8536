# Sourced by the tests on an X display: an Xvfb server of its own, a working folder, and the
# count of failed checks.
# Usage: . x_server.sh DISPLAY_NUMBER WIDTHxHEIGHT   (sets $work and DISPLAY; fail WHAT counts)
work=$(mktemp -d)
export DISPLAY=:$1
Xvfb "$DISPLAY" -screen 0 "$2x24" -noreset >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null; [ -n "${VORLA_X_TEST_KEEP:-}" ] || rm -rf "$work"' EXIT
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
failures=0
fail() { echo "FAILED: $*"; failures=$((failures + 1)); }
