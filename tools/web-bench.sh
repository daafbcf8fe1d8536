#!/usr/bin/env bash
# The designer frame in the page against the desktop: builds the benchmark for the page
# (bench/web/designer.cpp) and the native one (bench/designer.cpp), runs the first in headless
# Chromium and the second here, and prints both per frame with their ratio. Then a frame like
# the designer's drawn by a program in C (bench/web/frame.c) in the playground, in a page built
# as the designer's, and natively.
set -euo pipefail
cd "$(dirname "$0")/.."
. tools/deps.sh
need_packages "${TEST_PACKAGES[@]}" chromium
command -v npm >/dev/null || need_packages nodejs npm
bash tools/web.sh --build-only
cmake --build build-web -j"$(nproc)" --target web-bench-designer web-bench-frame
build=${VORLA_BUILD_DIR:-build}
cmake -S . -B "$build" -DVORLA_BENCH=ON ${VORLA_CMAKE_ARGS:-} >/dev/null
cmake --build "$build" -j"$(nproc)" --target bench_designer vorla_shared
(cd tests/web && npm ci --no-audit --no-fund --loglevel=error)
NODE_PATH=$PWD/tests/web/node_modules timeout 600 node bench/web/run.js build-web "$build/bench_designer"
NODE_PATH=$PWD/tests/web/node_modules timeout 600 node bench/web/frame.js build-web "$build"
