# Installing: the two programs in bin, the stock data in share/quorvex (read-only once installed:
# the game then keeps the player's files in $XDG_DATA_HOME/quorvex), desktop entries, icons and
# AppStream metadata where desktops look for them; CPack turns the same into a .deb.
include(GNUInstallDirs)

install(TARGETS quorvex RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
if(TARGET editor)
  # "editor" alone would take the place of Debian's /usr/bin/editor (the user's text editor).
  install(PROGRAMS $<TARGET_FILE:editor> DESTINATION ${CMAKE_INSTALL_BINDIR} RENAME quorvex-editor)
endif()

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

install(FILES packaging/org.quorvex.Quorvex.desktop packaging/org.quorvex.QuorvexEditor.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES packaging/org.quorvex.Quorvex.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES README.md DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/quorvex)

# cpack -G DEB in the build folder makes quorvex_<version>_<arch>.deb; the shared libraries it
# needs become its dependencies (dpkg-shlibdeps).
set(CPACK_PACKAGE_NAME quorvex)
set(CPACK_PACKAGE_VERSION 1.2.0)
set(CPACK_PACKAGE_VENDOR "Quorvex")
set(CPACK_PACKAGE_CONTACT "Quorvex developers <quorvex@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Two-player space combat game with a ship editor")
set(CPACK_PACKAGE_INSTALL_DIRECTORY quorvex)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_GENERATOR DEB)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_STRIP_FILES ON)
include(CPack)
