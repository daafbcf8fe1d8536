#!/usr/bin/env bash
# The browser test: builds the page (tools/web.sh) and the headless reference program, then
# plays tests/web/session.txt in Debian's headless Chromium and compares every picture with
# the headless display's, pixel for pixel; then a playback and the script file's load on the real
# clock (tests/web/playback_test.js), where the page keeps VORLA.SCR (tests/web/storage_test.js),
# and keys as a French keyboard sends them (tests/web/layout_test.js); then the playground: a
# program typed, compiled and run in the page against its native headless picture, errors, Stop,
# storage, Share and offline (tests/web/playground_test.js).
# Screenshots go to $VORLA_WEB_SHOTS when it is set.
set -euo pipefail
cd "$(dirname "$0")/.."
. tools/deps.sh
need_packages "${TEST_PACKAGES[@]}" chromium fonts-liberation2
# npm comes with NodeSource's nodejs; Debian has it as a package of its own.
command -v npm >/dev/null || need_packages nodejs npm
bash tools/web.sh --build-only
build=${VORLA_BUILD_DIR:-build}
cmake -S . -B "$build" -DBUILD_TESTING=ON ${VORLA_CMAKE_ARGS:-} >/dev/null
cmake --build "$build" -j"$(nproc)" --target web-reference-cone-designer \
  web-reference-event-monitor font-subset-check vorla_shared
# The page's cut-down fonts must draw as the whole ones.
xargs "$build/font-subset-check" < build-web/fonts/subsets.txt
(cd tests/web && npm ci --no-audit --no-fund --loglevel=error)
shots=()
[ -n "${VORLA_WEB_SHOTS:-}" ] && mkdir -p "$VORLA_WEB_SHOTS" && shots=("$VORLA_WEB_SHOTS")
node tests/web/browser_test.js build-web "$build" "${shots[@]}"
timeout 120 node tests/web/playback_test.js build-web
timeout 120 node tests/web/storage_test.js build-web
cmake --build "$build" -j"$(nproc)" --target example-typing
timeout 120 node tests/web/layout_test.js build-web "$build"
start=$SECONDS
timeout 900 node tests/web/playground_test.js build-web "$build" "${shots[@]}"
echo "playground test: $((SECONDS - start)) s"
