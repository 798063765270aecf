# Installed, harbinet keeps the layout of the build tree in a folder of its own: the program,
# the server modules and the data side by side, so that each finds the others from the
# program's own location. bin/harbinet is a link to the program; the desktop files go where
# the desktop looks for them.
include(GNUInstallDirs)

set(HARBINET_INSTALL_DIR lib/harbinet)
install(TARGETS harbinet tarnwick grivel debugger_server
  RUNTIME DESTINATION ${HARBINET_INSTALL_DIR}
  LIBRARY DESTINATION ${HARBINET_INSTALL_DIR})
install(DIRECTORY data/ DESTINATION ${HARBINET_INSTALL_DIR} PATTERN .gitattributes EXCLUDE)
install(CODE [[
  set(bin "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}/bin")
  file(MAKE_DIRECTORY "${bin}")
  message(STATUS "Installing: ${bin}/harbinet -> ../lib/harbinet/harbinet")
  file(CREATE_LINK ../lib/harbinet/harbinet "${bin}/harbinet" SYMBOLIC)
]])

set(desktop ${PROJECT_SOURCE_DIR}/hostapp/desktop)
configure_file(${desktop}/harbinet.1 ${CMAKE_BINARY_DIR}/harbinet.1 @ONLY)
install(FILES ${desktop}/harbinet.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${desktop}/harbinet.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${desktop}/harbinet-mime.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages
  RENAME harbinet.xml)
install(FILES ${CMAKE_BINARY_DIR}/harbinet.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

# The Debian package (tools/package.sh). The libraries it needs are found from the binaries;
# the desktop's own caches (menus, MIME types, icons) are refreshed by their packages'
# triggers when the files land.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME harbinet)
set(CPACK_PACKAGE_VENDOR "Tarnwick")
set(CPACK_PACKAGE_CONTACT "Tarnwick developers <tarnwick@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "EDIF netlist editor: the Harbinet host with the Tarnwick editor")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
  "Harbinet is a desktop host for electronic-design server modules. It ships with the\n Tarnwick text editor for EDIF netlists and a small schematic component store.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt's platform plug-ins are loaded at run time, so no library dependency names them.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-dejavu-core")
set(CPACK_STRIP_FILES ON)
include(CPack)
