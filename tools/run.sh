#!/usr/bin/env bash
# Builds the cone designer (build/cone-designer in the repository) and starts it in the current
# directory, where the Run menu's recording (VORLA.SCR) is written and read.
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
. "$repo/tools/deps.sh"
need_packages "${BUILD_PACKAGES[@]}"
cmake -S "$repo" -B "$repo/build" -DBUILD_TESTING=OFF -DVORLA_BENCH=OFF -DVORLA_WERROR=OFF >/dev/null
cmake --build "$repo/build" -j"$(nproc)" --target cone-designer
# Without a usable display the program says so and ends with a non-zero status.
exec "$repo/build/cone-designer"
