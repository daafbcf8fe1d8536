# The VORLA library, for find_package(Vorla): Vorla::vorla (the shared library, with the
# headers), Vorla::vorla_main (for programs that begin at WinMain) and Vorla::vorla_static.
# The static library needs SDL2, Xlib, FreeType, fontconfig and zlib, found here through pkg-config.
# On Windows the library is static only, and needs nothing but Windows' own libraries:
# Vorla::vorla_static is another name of Vorla::vorla there.
if(WIN32)
  include(${CMAKE_CURRENT_LIST_DIR}/VorlaTargets.cmake)
  if(NOT TARGET Vorla::vorla_static)
    add_library(Vorla::vorla_static INTERFACE IMPORTED)
    set_target_properties(Vorla::vorla_static PROPERTIES INTERFACE_LINK_LIBRARIES Vorla::vorla)
  endif()
  return()
endif()
include(CMakeFindDependencyMacro)
find_dependency(PkgConfig)
pkg_check_modules(VORLA_STATIC_DEPENDENCIES QUIET IMPORTED_TARGET sdl2 x11 freetype2 fontconfig zlib)
include(${CMAKE_CURRENT_LIST_DIR}/VorlaTargets.cmake)
