# WebAssembly for a web page, with Debian's emscripten (emcc 3.1.6). Use:
#   cmake -S . -B build-web -DCMAKE_TOOLCHAIN_FILE=cmake/emscripten.cmake \
#     -DVORLA_FREETYPE_SOURCE=<FreeType's source tree>
# emscripten's ports download at build time, so none is used: FreeType is compiled from source.
# emcc's JavaScript tools find Debian's acorn only through NODE_PATH, and Node.js 20 runs what
# emcc 3.1.6 makes only with --no-experimental-fetch.
set(VORLA_EMSCRIPTEN_ROOT /usr/share/emscripten CACHE PATH "emscripten's installation")
include(${VORLA_EMSCRIPTEN_ROOT}/cmake/Modules/Platform/Emscripten.cmake)

set(ENV{NODE_PATH} /usr/share/nodejs)
foreach(lang C CXX)
  set(CMAKE_${lang}_LINKER_LAUNCHER ${CMAKE_COMMAND} -E env NODE_PATH=/usr/share/nodejs)
endforeach()
find_program(VORLA_NODE NAMES node nodejs)
if(VORLA_NODE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${VORLA_NODE} --no-experimental-fetch
      CACHE STRING "Runs the programs emcc makes" FORCE)
endif()
