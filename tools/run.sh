#!/usr/bin/env bash
# Builds the cone designer and starts it: build/cone-designer.
set -euo pipefail
cd "$(dirname "$0")/.."
. tools/deps.sh
need_packages "${BUILD_PACKAGES[@]}"
cmake -S . -B build -DBUILD_TESTING=OFF -DVORLA_BENCH=OFF >/dev/null
cmake --build build -j"$(nproc)" --target cone-designer
if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  echo "No display found: run build/cone-designer from a desktop session."
  exit 1
fi
exec ./build/cone-designer
