#!/usr/bin/env bash
# Builds the examples and makes each one's picture again: examples/NAME.c or NAME.cpp runs on
# the headless display with examples/scripts/NAME.scr as its input, and the window as the
# script leaves it becomes docs/pictures/NAME.png. The runs use a virtual clock, so the same
# sources always give the same pictures. Build directory: $VORLA_BUILD_DIR, else build.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${VORLA_BUILD_DIR:-build}
case $build in /*) ;; *) build=$root/$build ;; esac
cd "$root"

names=()
targets=()
for source in examples/*.c examples/*.cpp; do
  [ -e "$source" ] || continue
  name=$(basename "${source%.*}")
  if [ ! -f "examples/scripts/$name.scr" ]; then
    echo "examples/scripts/$name.scr is missing: every example needs a script" >&2
    exit 1
  fi
  names+=("$name")
  targets+=("example-$name")
done
[ "${#names[@]}" -gt 0 ] || { echo "no examples found" >&2; exit 1; }

[ -f "$build/CMakeCache.txt" ] || cmake -S "$root" -B "$build" >/dev/null
cmake --build "$build" -j2 --target "${targets[@]}"

mkdir -p docs/pictures
for name in "${names[@]}"; do
  VORLA_DISPLAY=headless VORLA_PLAY="examples/scripts/$name.scr" \
    VORLA_SNAPSHOT="docs/pictures/$name.png" timeout 60 "$build/examples/$name"
  echo "docs/pictures/$name.png"
done
