#!/usr/bin/env bash
# Builds the page into build-web/ and serves it on 127.0.0.1 with Python's http.server: Cone
# Designer, the event monitor and the examples (index.html?program=NAME), or, given source
# files, that program of one's own as a page of its own (build-web/own/):
#   bash tools/web.sh [--build-only] [PORT] [SOURCE...]      e.g. bash tools/web.sh examples/ball.c
# PORT is 8000 unless given; --build-only only builds. FreeType comes from Debian's source
# package (the desktop's version), fetched once into build-web/freetype-src.
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
fi
[ $build_only = 1 ] && exit 0
echo "$name is at http://127.0.0.1:$port/ (Ctrl+C stops the server)"
exec python3 -m http.server "$port" --bind 127.0.0.1 --directory "$site"
