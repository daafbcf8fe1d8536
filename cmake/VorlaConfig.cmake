# The VORLA library, for find_package(Vorla): Vorla::vorla (the shared library, with the
# headers), Vorla::vorla_main (for programs that begin at WinMain) and Vorla::vorla_static.
# The static library needs SDL2, Xlib, FreeType, fontconfig and zlib, found here through pkg-config.
include(CMakeFindDependencyMacro)
find_dependency(PkgConfig)
pkg_check_modules(VORLA_STATIC_DEPENDENCIES QUIET IMPORTED_TARGET sdl2 x11 freetype2 fontconfig zlib)
include(${CMAKE_CURRENT_LIST_DIR}/VorlaTargets.cmake)
