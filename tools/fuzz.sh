#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (AddressSanitizer and UndefinedBehaviorSanitizer) and
# runs each for SECONDS seconds (default 60), one after the other, each input limited to one
# second, starting from a copy of its committed corpus. Stops at the first target that finds
# something; its reproducer is left in the build directory.
# Usage: tools/fuzz.sh [SECONDS [TARGET...]]   (targets: script_reader drawing_calls)
set -euo pipefail
cd "$(dirname "$0")/.."
. tools/deps.sh
need_packages "${BUILD_PACKAGES[@]}" clang libclang-rt-14-dev
seconds=${1:-60}
shift || true
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(script_reader drawing_calls)
build=${VORLA_FUZZ_BUILD_DIR:-build-fuzz}
CC=clang CXX=clang++ cmake -S . -B "$build" -DVORLA_FUZZ=ON -DVORLA_WERROR=ON -DBUILD_TESTING=OFF \
  -DVORLA_BENCH=OFF >/dev/null
cmake --build "$build" -j2 --target "${targets[@]/#/fuzz_}"
corpus=$(mktemp -d)
trap 'rm -rf "$corpus"' EXIT
for target in "${targets[@]}"; do
  echo "== fuzz_$target for ${seconds} s"
  mkdir -p "$corpus/$target"
  if [ -d "fuzz/corpus/$target" ]; then cp "fuzz/corpus/$target"/* "$corpus/$target"/; fi
  "$build/fuzz/fuzz_$target" -max_total_time="$seconds" -timeout=1 -len_control=0 -max_len=4096 \
    -print_final_stats=1 -print_funcs=0 -artifact_prefix="$build/$target-" "$corpus/$target" 2>&1 |
    grep -v -e '^#[0-9]*	\(NEW\|REDUCE\|pulse\)' -e '# Uses: ' -e 'ecommended dictionary'
done
