# The Debian package: `cpack` in the build folder writes varnex_<version>_amd64.deb with both
# programs and what ui/ and cli/ install. Its dependencies are the shared libraries' packages as
# dpkg-shlibdeps finds them, and Qt's Chinese translations, which the window loads at run time.

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME varnex)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "考试成绩分析 / exam analysis for schools")
set(CPACK_PACKAGE_DESCRIPTION
    "Varnex imports a teacher assignment sheet and a student score sheet from an\n\
.xls, .xlsx or .et workbook and exports a result workbook with the three rates\n\
per school, class and teacher, score bands, rank bands, the top N students and\n\
class rankings. It also writes empty import templates. varnex is the window,\n\
varnex-cli runs the same commands from the command line.")
# The maintainer line the package carries; a distributor sets its own.
set(VARNEX_PACKAGE_MAINTAINER "Varnex developers <varnex@localhost>"
    CACHE STRING "Maintainer field of the Debian package")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${VARNEX_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-translations-l10n")
# A font that has Chinese characters, xdg-open to show the result workbooks, and Qt's Wayland
# platform for Wayland sessions (without it the window runs through XWayland).
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS
    "fonts-noto-cjk | fonts-wqy-microhei | fonts-wqy-zenhei, xdg-utils, qt6-wayland")
include(CPack)
