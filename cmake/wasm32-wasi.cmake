# WebAssembly for WASI (wasm32-wasip1), with the pinned @yowasp/clang (Clang and LLD built for
# WebAssembly) run by Node.js: the library that the playground page links a learner's program
# with, built by the same toolchain the page runs. Use:
#   cmake -S . -B build-wasi -DCMAKE_TOOLCHAIN_FILE=cmake/wasm32-wasi.cmake \
#     -DVORLA_YOWASP_MODULES=<a node_modules folder holding @yowasp/clang> \
#     -DVORLA_FREETYPE_SOURCE=<FreeType's source tree>
#   cmake --build build-wasi --target vorla_static vorla_main freetype
# The compilers are small scripts written next to node_modules that run cmake/wasi/yowasp.mjs.
set(CMAKE_SYSTEM_NAME Generic)
set(CMAKE_SYSTEM_PROCESSOR wasm32)
set(VORLA_WASI ON)

set(VORLA_YOWASP_MODULES "${VORLA_YOWASP_MODULES}" CACHE PATH
    "A node_modules folder that holds @yowasp/clang")
if(NOT EXISTS "${VORLA_YOWASP_MODULES}/@yowasp/clang/gen/bundle.js")
  message(FATAL_ERROR "Set VORLA_YOWASP_MODULES to a node_modules folder with @yowasp/clang")
endif()
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES VORLA_YOWASP_MODULES)
find_program(VORLA_NODE NAMES node nodejs REQUIRED)

get_filename_component(wasi_bin "${VORLA_YOWASP_MODULES}/../wasi-bin" ABSOLUTE)
foreach(tool clang clang++ ar ranlib)
  set(script "#!/bin/sh\nexec \"${VORLA_NODE}\" \"${CMAKE_CURRENT_LIST_DIR}/wasi/yowasp.mjs\" \
\"${VORLA_YOWASP_MODULES}\" ${tool} \"$@\"\n")
  if(EXISTS "${wasi_bin}/${tool}")
    file(READ "${wasi_bin}/${tool}" old)
  else()
    set(old "")
  endif()
  if(NOT old STREQUAL script)
    file(WRITE "${wasi_bin}/${tool}" "${script}")
    file(CHMOD "${wasi_bin}/${tool}" PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE
         GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
  endif()
endforeach()
set(CMAKE_C_COMPILER "${wasi_bin}/clang")
set(CMAKE_CXX_COMPILER "${wasi_bin}/clang++")
set(CMAKE_AR "${wasi_bin}/ar" CACHE FILEPATH "" FORCE)
set(CMAKE_RANLIB "${wasi_bin}/ranlib" CACHE FILEPATH "" FORCE)
set(CMAKE_C_COMPILER_TARGET wasm32-wasip1)
set(CMAKE_CXX_COMPILER_TARGET wasm32-wasip1)
# The compiler's own checks link a whole program; only static libraries are made here.
set(CMAKE_TRY_COMPILE_TARGET_TYPE STATIC_LIBRARY)
