# What `cmake --install` puts under the prefix, and the Debian package CPack makes from the same
# rules. Every destination is relative, so nothing is written outside the prefix. The programs'
# own rules are in src/app.

# The shipped files in the home's layout: the editor seeds a new home from <prefix>/share/vexa.
install(DIRECTORY share/vConfig share/vScript DESTINATION ${CMAKE_INSTALL_DATADIR}/vexa)

# What the desktop needs.
install(FILES share/applications/vexa.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(DIRECTORY share/icons/hicolor DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)
install(FILES share/bash-completion/completions/vexa-batch share/bash-completion/completions/vexa-dict
        DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions)

# The manual pages and the guide.
install(FILES docs/man/vexa.1 docs/man/vexa-batch.1 docs/man/vexa-dict.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
file(GLOB vexa_guide_files CONFIGURE_DEPENDS "${PROJECT_SOURCE_DIR}/docs/*.md" "${PROJECT_SOURCE_DIR}/docs/*.png")
install(FILES ${vexa_guide_files} DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/vexa)

# `cpack -G DEB` in a build folder makes vexa_VERSION_ARCH.deb there; the libraries it needs are
# found by dpkg-shlibdeps, the Qt platform plugins (loaded at run time, so not found) are listed.
set(CPACK_PACKAGE_NAME vexa)
set(CPACK_PACKAGE_VENDOR "Vexa developers")
set(CPACK_PACKAGE_CONTACT "Vexa developers <vexa@localhost>")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "programmer's text editor with macros, scripts and compile/make")
set(CPACK_PACKAGE_DESCRIPTION
    "Vexa is a keyboard-driven text editor for programmers: keymaps with prefix keys, keyboard "
    "macros, a C-like script language, syntax colouring, templates, spelling, and compiling or "
    "making with navigation to each error. vexa-batch runs scripts and macros without a window.")
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION editors)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "make, gcc, man-db")
set(CPACK_STRIP_FILES ON)
include(CPack)
