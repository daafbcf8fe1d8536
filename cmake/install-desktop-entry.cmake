# Installs the menu entry with the installed program's full path in Exec, so that the entry
# starts it from any prefix, on PATH or not. Run at install time, when CMAKE_INSTALL_PREFIX is
# the prefix installed into; DESTDIR is honoured by file(INSTALL).
file(READ ${VORLA_DESKTOP_ENTRY} entry)
set(program "${CMAKE_INSTALL_PREFIX}/${VORLA_BINDIR}/cone-designer")
if(program MATCHES "[\"`$\\\\]")
  message(WARNING "The menu entry runs cone-designer from PATH: ${program} cannot be written there")
  set(program cone-designer)
elseif(program MATCHES " ")
  set(program "\"${program}\"")
endif()
string(REPLACE "Exec=cone-designer" "Exec=${program}" entry "${entry}")
set(written ${VORLA_BINARY_DIR}/cone-designer.desktop)
file(WRITE ${written} "${entry}")
file(INSTALL DESTINATION "${CMAKE_INSTALL_PREFIX}/${VORLA_DATADIR}/applications" TYPE FILE
     FILES ${written})
