#!/usr/bin/env bash
# Builds Cone Designer as a web page into build-web/ and serves it on 127.0.0.1 with Python's
# http.server (port 8000, or the first argument). With --build-only it only builds.
# FreeType comes from Debian's source package (the desktop's version), fetched once into
# build-web/freetype-src.
set -euo pipefail
cd "$(dirname "$0")/.."
. tools/deps.sh
need_packages "${WEB_PACKAGES[@]}"
need_source freetype build-web/freetype-src
export NODE_PATH=/usr/share/nodejs
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S . -B build-web -DCMAKE_TOOLCHAIN_FILE=cmake/emscripten.cmake \
  -DVORLA_FREETYPE_SOURCE="$PWD/build-web/freetype-src" "${launcher[@]}" >/dev/null
cmake --build build-web -j"$(nproc)" --target cone-designer event-monitor
[ "${1:-}" = "--build-only" ] && exit 0
port=${1:-8000}
echo "Cone Designer is at http://127.0.0.1:$port/ (Ctrl+C stops the server)"
exec python3 -m http.server "$port" --bind 127.0.0.1 --directory build-web
