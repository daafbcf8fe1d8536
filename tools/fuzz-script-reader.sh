#!/usr/bin/env bash
# Builds the script reader's fuzz target with clang (libFuzzer and AddressSanitizer) and runs it
# for SECONDS seconds (default 60), starting from a copy of the committed corpus.
# Usage: tools/fuzz-script-reader.sh [SECONDS]
set -euo pipefail
cd "$(dirname "$0")/.."
. tools/deps.sh
need_packages "${BUILD_PACKAGES[@]}" clang libclang-rt-14-dev
seconds=${1:-60}
build=${VORLA_FUZZ_BUILD_DIR:-build-fuzz}
CC=clang CXX=clang++ cmake -S . -B "$build" -DVORLA_FUZZ=ON -DVORLA_WERROR=ON -DBUILD_TESTING=OFF \
  -DVORLA_BENCH=OFF >/dev/null
cmake --build "$build" -j2 --target fuzz_script_reader
corpus=$(mktemp -d)
trap 'rm -rf "$corpus"' EXIT
cp fuzz/corpus/script_reader/* "$corpus"/
"$build"/fuzz/fuzz_script_reader -max_total_time="$seconds" -max_len=2048 -print_final_stats=1 \
  -artifact_prefix="$build/" "$corpus"
