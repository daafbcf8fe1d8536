#!/usr/bin/env bash
# Builds everything (runtime, designer, tests, benchmarks) and runs all tests but the browser
# test (label web: tools/web-test.sh runs it).
set -euo pipefail
cd "$(dirname "$0")/.."
. tools/deps.sh
need_packages "${TEST_PACKAGES[@]}"
build=${VORLA_BUILD_DIR:-$(build_folder build)}
cmake -S . -B "$build" -DBUILD_TESTING=ON -DVORLA_BENCH=ON -DVORLA_WERROR=ON ${VORLA_CMAKE_ARGS:-} \
  >/dev/null
cmake --build "$build" -j"$(nproc)"
cd "$build"
ctest -j"$(nproc)" --output-on-failure --timeout 120 -LE web
