# Installs the build into a staging folder through DESTDIR, under a prefix of its own, and
# checks that every file a desktop needs is there (and the checker of a class's programs), and
# that the menu entry names the program by its full path (the prefix's bin/ need not be on
# PATH) and still validates.
#   cmake -DBUILD_DIR=build -DSTAGE=folder [-DPROGRAMDIR=games] -P check-install.cmake
# (PROGRAMDIR: the program's folder below the prefix, VORLA_INSTALL_PROGRAMDIR; default bin)
if(NOT PROGRAMDIR)
  set(PROGRAMDIR bin)
endif()
file(REMOVE_RECURSE ${STAGE})
set(ENV{DESTDIR} ${STAGE})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix /opt/cone
                RESULT_VARIABLE result OUTPUT_QUIET)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${result}")
endif()
foreach(path ${PROGRAMDIR}/cone-designer bin/vorla-check share/applications/cone-designer.desktop
             share/icons/hicolor/48x48/apps/cone-designer.png
             share/icons/hicolor/256x256/apps/cone-designer.png)
  if(NOT EXISTS ${STAGE}/opt/cone/${path})
    message(FATAL_ERROR "not installed: ${path}")
  endif()
endforeach()
if(EXISTS /opt/cone/${PROGRAMDIR}/cone-designer)
  message(FATAL_ERROR "DESTDIR was not honoured")
endif()
file(STRINGS ${STAGE}/opt/cone/share/applications/cone-designer.desktop exec REGEX "^Exec=")
if(NOT exec STREQUAL "Exec=/opt/cone/${PROGRAMDIR}/cone-designer")
  message(FATAL_ERROR "the menu entry says ${exec}")
endif()
execute_process(COMMAND desktop-file-validate
                        ${STAGE}/opt/cone/share/applications/cone-designer.desktop
                OUTPUT_VARIABLE said ERROR_VARIABLE said)
if(NOT said STREQUAL "")
  message(FATAL_ERROR "the installed menu entry does not validate: ${said}")
endif()
