#!/usr/bin/env bash
# Builds the page into build-web/ and serves it on 127.0.0.1 (tools/web-serve.js): Cone
# Designer, the event monitor and the examples (index.html?program=NAME), and the playground
# (playground/), where a program is written and run in the page; or, given source files, that
# program of one's own as a page of its own (build-web/own/):
#   bash tools/web.sh [--build-only] [PORT] [SOURCE...]      e.g. bash tools/web.sh examples/ball.c
# PORT is 8000 unless given; --build-only only builds. FreeType comes from Debian's source
# package (the desktop's version), fetched once into build-web/freetype-src. The playground's
# compiler (@yowasp/clang) and editor come from npm (web/playground/package-lock.json); the
# library it links programs with is built for wasm32-wasi by that compiler into build-wasi/.
set -euo pipefail
build_only=0
port=8000
sources=()
for arg in "$@"; do
  case $arg in
    --build-only) build_only=1 ;;
    *[!0-9]* | "")
      [ -f "$arg" ] || { echo "$0: no such source file: $arg" >&2 && exit 2; }
      sources+=("$(realpath "$arg")")
      ;;
    *) port=$arg ;;
  esac
done
cd "$(dirname "$0")/.."
. tools/deps.sh
need_packages "${WEB_PACKAGES[@]}"
need_source freetype build-web/freetype-src
# npm comes with NodeSource's nodejs; Debian has it as a package of its own.
command -v npm >/dev/null || need_packages nodejs npm
export NODE_PATH=/usr/share/nodejs
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
own=$(IFS=';' && echo "${sources[*]}")
cmake -S . -B build-web -DCMAKE_TOOLCHAIN_FILE=cmake/emscripten.cmake \
  -DVORLA_FREETYPE_SOURCE="$PWD/build-web/freetype-src" -DVORLA_WEB_PROGRAM="$own" \
  "${launcher[@]}" >/dev/null
site=build-web
if [ ${#sources[@]} -gt 0 ]; then
  cmake --build build-web -j"$(nproc)" --target own-program
  site=build-web/own
  name=$(basename "${sources[0]%.*}")
else
  cmake --build build-web -j"$(nproc)"
  name="Cone Designer"
  # The playground: the library for wasm32-wasi (one compiler process per file, each a few
  # seconds of Node.js), then the page, its workers and the compressed copies of the compiler.
  (cd web/playground && npm ci --no-audit --no-fund --loglevel=error)
  cmake -S . -B build-wasi -DCMAKE_TOOLCHAIN_FILE=cmake/wasm32-wasi.cmake \
    -DVORLA_YOWASP_MODULES="$PWD/web/playground/node_modules" \
    -DVORLA_FREETYPE_SOURCE="$PWD/build-web/freetype-src" >/dev/null
  nice -n 10 cmake --build build-wasi -j"$(nproc)" --target vorla_static vorla_main freetype
  nice -n 10 node web/playground/build.mjs build-web build-wasi
fi
[ $build_only = 1 ] && exit 0
echo "$name is at http://127.0.0.1:$port/ (Ctrl+C stops the server)"
[ ${#sources[@]} -eq 0 ] && echo "The playground is at http://127.0.0.1:$port/playground/"
exec node tools/web-serve.js "$site" "$port"
