# The Debian package: `cmake --build build --target package` makes
# quav_<version>_amd64.deb from the install tree (programs, desktop entry,
# icons, import file, manual pages, bash completion), installed under /usr.
# The shared libraries the programs link are turned into dependencies by
# dpkg-shlibdeps; what they only need at run time is declared here.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quav)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "QUAV developers <quav@localhost>")
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
# Japanese texts in Qt's standard buttons and dialogs, and a fixed-pitch
# Japanese font for the result views; the window starts without them, but
# shows English buttons and a fallback font.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-ipafont-gothic | fonts-noto-cjk")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n, bash-completion, man-db")
set(CPACK_STRIP_FILES ON)
include(CPack)
