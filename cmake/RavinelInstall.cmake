# Installed, the programs, the decoder plug-ins and the archiver modules share one private
# folder, as they share bin/ in the build: a program looks for its plug-ins and modules
# beside its executable. Debian keeps such a folder in /usr/lib/<package>.
set(RAVINEL_INSTALL_PROGRAM_DIR lib/ravinel)

# Installs a program into that folder, with a relative link to it in the binaries' folder
# (so that the installed tree can move as a whole).
function(ravinel_install_program target)
  install(TARGETS ${target} RUNTIME DESTINATION ${RAVINEL_INSTALL_PROGRAM_DIR})
  file(RELATIVE_PATH link_target ${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}
       ${CMAKE_INSTALL_PREFIX}/${RAVINEL_INSTALL_PROGRAM_DIR}/${target})
  install(CODE "
    set(link \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/${target}\")
    file(MAKE_DIRECTORY \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}\")
    message(STATUS \"Installing: \${link} -> ${link_target}\")
    file(CREATE_LINK ${link_target} \${link} SYMBOLIC)
  ")
endfunction()
