# What the packages' checks share, sourced by each: a work folder that goes at the end, and the
# tally of their checks.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
chmod 755 "$work" # vorla-check, run as root, runs the programs it builds as another user
failures=0
fail() { echo "FAILED: $*"; failures=$((failures + 1)); }
pass() { echo "ok: $*"; }
# finish NAME: says how the checks went and ends with their status.
finish() {
  if [ "$failures" -eq 0 ]; then echo "$1: all checks passed"; else echo "$1: $failures failed"; fi
  exit $((failures > 0))
}
