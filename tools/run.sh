#!/usr/bin/env bash
# Builds the cone designer (build/cone-designer in the repository, or a folder of the user's own
# when build/ is not theirs to write) and starts it in the current directory, where the Run
# menu's recording (VORLA.SCR) is written and read.
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
. "$repo/tools/deps.sh"
need_packages "${BUILD_PACKAGES[@]}"
build=$(build_folder "$repo/build")
cmake -S "$repo" -B "$build" -DBUILD_TESTING=OFF -DVORLA_BENCH=OFF -DVORLA_WERROR=OFF >/dev/null
cmake --build "$build" -j"$(nproc)" --target cone-designer
# Without a usable display the program says so and ends with a non-zero status.
exec "$build/cone-designer"
