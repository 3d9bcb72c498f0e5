# The Debian package: `cmake --build build --target package` makes
# quav_<version>_amd64.deb from the install tree (programs, desktop entry,
# icons, import file, manual pages, bash completion), installed under /usr.
# The shared libraries the programs link are turned into dependencies by
# dpkg-shlibdeps; what they only need at run time is declared here.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quav)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
# The address is a placeholder for a package built for one's own machines;
# whoever publishes the package sets a real one.
set(QUAV_PACKAGE_MAINTAINER "QUAV developers <quav@localhost>" CACHE STRING
    "Maintainer field of the Debian package: name <address>")
set(CPACK_PACKAGE_CONTACT "${QUAV_PACKAGE_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "search many Japanese text files at once and work on the hits")
set(CPACK_PACKAGE_DESCRIPTION
"QUAV searches many Shift-JIS (and UTF-8) text files at once and then works
on what was found: replace, edit lines, sort, drop files, save, export,
copy, and generate new files from templates and parameters. The interface
is Japanese. The package holds the window program quav-window and the
command-line program quav (search, replace, duplicate).")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION text)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The views, lists and dialogs ask for the fonts IPAGothic (fixed pitch: the
# 83-column fitting and the tab stops count on it) and IPAPGothic by name;
# another Japanese font would be a fallback of different widths, so no
# alternative is offered. Qt's own Japanese button texts are recommended
# (without them the standard buttons are English). man-db and
# bash-completion are part of a standard Debian system and read the pages
# and the completion through their own triggers and loaders; the package
# needs no maintainer scripts for them, nor for the menu and icon caches,
# which desktop-file-utils and the icon theme refresh by dpkg triggers.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-ipafont-gothic")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "bash-completion")
set(CPACK_STRIP_FILES ON)
include(CPack)

# What Debian asks of every package in /usr/share/doc/quav: the copyright
# file and, for a package made by its own authors, changelog.gz. The
# changelog's latest entry must name the version being built; its entries
# are signed by the package's maintainer.
file(STRINGS ${CMAKE_CURRENT_LIST_DIR}/changelog QUAV_CHANGELOG_TOP LIMIT_COUNT 1)
if(NOT QUAV_CHANGELOG_TOP MATCHES "^quav \\(${PROJECT_VERSION}\\) ")
  message(FATAL_ERROR "packaging/changelog starts with \"${QUAV_CHANGELOG_TOP}\"; "
                      "add an entry for version ${PROJECT_VERSION} at its top")
endif()
configure_file(${CMAKE_CURRENT_LIST_DIR}/changelog ${CMAKE_BINARY_DIR}/packaging/changelog @ONLY)
set(QUAV_CHANGELOG_GZ ${CMAKE_BINARY_DIR}/packaging/changelog.gz)
add_custom_command(OUTPUT ${QUAV_CHANGELOG_GZ}
  COMMAND sh -c "gzip -9n -c \"$1\" > \"$2\"" sh ${CMAKE_BINARY_DIR}/packaging/changelog ${QUAV_CHANGELOG_GZ}
  DEPENDS ${CMAKE_BINARY_DIR}/packaging/changelog VERBATIM)
add_custom_target(quav-changelog ALL DEPENDS ${QUAV_CHANGELOG_GZ})
include(GNUInstallDirs)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/copyright ${QUAV_CHANGELOG_GZ}
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/quav)
