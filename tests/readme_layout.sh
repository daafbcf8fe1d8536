#!/bin/sh
# The README's layout matches the tree: every path named at the head of an item of its Layout
# section (an item under a folder's item names a path inside that folder) is there, and every
# top-level folder and file the repository tracks (but for the README itself and the hidden
# ones) has an item of its own.
# Usage: readme_layout.sh CHECKOUT
cd "$1" || exit 2
failures=0
fail() { echo "FAILED: $*"; failures=$((failures + 1)); }
listed=$(awk '/^## Layout/ { on = 1; next } /^## / { on = 0 }
  on && match($0, /^(  )?- `[^`]*`/) {
    path = substr($0, RSTART, RLENGTH); nested = path ~ /^  /
    sub(/^ *- `/, "", path); sub(/`$/, "", path)
    if (nested) print parent path; else { parent = path; print path }
  }' README.md)
for path in $listed; do
  [ -e "$path" ] || fail "the README's layout names $path, which is not there"
done
for entry in $(git ls-files | sed 's|/.*|/|' | sort -u); do
  case $entry in .* | README.md) continue ;; esac
  printf '%s\n' "$listed" | grep -qxF "$entry" || fail "$entry has no item in the README's layout"
done
exit $failures
