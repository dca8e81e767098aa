# Installing: the two programs in games (where Debian keeps games), the stock data in
# share/quorvex (read-only once installed: the game then keeps the player's files in
# $XDG_DATA_HOME/quorvex), desktop entries, icons, AppStream metadata, manual pages and the
# package's documents where desktops and tools look for them; CPack turns the same into a .deb.
include(GNUInstallDirs)
set(QV_INSTALL_GAMESDIR games)

install(TARGETS quorvex RUNTIME DESTINATION ${QV_INSTALL_GAMESDIR})
if(TARGET editor)
  # "editor" alone would take the place of Debian's /usr/bin/editor (the user's text editor).
  install(PROGRAMS $<TARGET_FILE:editor> DESTINATION ${QV_INSTALL_GAMESDIR} RENAME quorvex-editor)
endif()
# A stripping install strips both programs as Debian does (the renamed editor is not stripped by
# install(TARGETS), and neither loses its .comment and .note sections there).
install(CODE "
  if(CMAKE_INSTALL_DO_STRIP)
    foreach(_program quorvex quorvex-editor)
      set(_file \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${QV_INSTALL_GAMESDIR}/\${_program}\")
      if(EXISTS \"\${_file}\")
        execute_process(COMMAND \"${CMAKE_STRIP}\" --strip-unneeded --remove-section=.comment
                                --remove-section=.note \"\${_file}\")
      endif()
    endforeach()
  endif()
")

# Manual pages and the changelog go in compressed as Debian keeps them (gzip -9n: no name, no time).
function(qv_install_gzipped source destination name)
  install(CODE "
    set(_dir \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${destination}\")
    file(MAKE_DIRECTORY \"\${_dir}\")
    execute_process(COMMAND gzip -9nc \"${CMAKE_SOURCE_DIR}/${source}\" OUTPUT_FILE \"\${_dir}/${name}.gz\"
                    RESULT_VARIABLE _rc)
    if(NOT _rc EQUAL 0)
      message(FATAL_ERROR \"Cannot compress ${source}: \${_rc}\")
    endif()
  ")
endfunction()
qv_install_gzipped(packaging/man/quorvex.6 ${CMAKE_INSTALL_MANDIR}/man6 quorvex.6)
qv_install_gzipped(packaging/man/quorvex-editor.6 ${CMAKE_INSTALL_MANDIR}/man6 quorvex-editor.6)
qv_install_gzipped(packaging/changelog ${CMAKE_INSTALL_DATADIR}/doc/quorvex changelog)

# The stock data and the icons are made fresh by the data generator straight into the destination,
# so no settings or ships of the build folder's own games end up in the package.
install(CODE "
  set(_root \"\$ENV{DESTDIR}\")
  set(_share \"\${_root}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_DATADIR}\")
  set(_data \"\${_share}/quorvex\")
  set(_icons \"\${_share}/icons/hicolor\")
  message(STATUS \"Generating: \${_data} and icons in \${_icons}\")
  execute_process(COMMAND \"$<TARGET_FILE:datagen>\" \"\${_data}\" --icons \"\${_icons}\" RESULT_VARIABLE _rc)
  if(NOT _rc EQUAL 0)
    message(FATAL_ERROR \"The data generator failed: \${_rc}\")
  endif()
")

install(FILES packaging/org.quorvex.quorvex.desktop packaging/org.quorvex.editor.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES packaging/org.quorvex.quorvex.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES README.md packaging/copyright DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/quorvex)

# cpack -G DEB in the build folder makes quorvex_<version>_<arch>.deb; the shared libraries it
# needs become its dependencies (dpkg-shlibdeps).
set(CPACK_PACKAGE_NAME quorvex)
set(CPACK_PACKAGE_VERSION 1.2.0)
set(CPACK_PACKAGE_VENDOR "Quorvex")
set(CPACK_PACKAGE_CONTACT "Quorvex developers <developers@quorvex.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "two-player space combat game with a ship editor")
set(CPACK_PACKAGE_DESCRIPTION "Two players share one keyboard, or use joysticks, and fight in an arena seen
from above. Each puts together an armada of ships; the battle is fought as a
series of duels until one side has no ship left. In training mode a computer
pilot flies the second armada. Battles are recorded and can be watched again,
and two machines can play one battle over the network.
.
The ship editor designs new ships and prices them in fleet-value points.")
set(CPACK_PACKAGE_INSTALL_DIRECTORY quorvex)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_GENERATOR DEB)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_STRIP_FILES ON)
include(CPack)
