# SPDX-License-Identifier: MIT
# The Debian package: `cpack -G DEB` in the build folder, or ./build.sh package.
# Its dependencies are read off the programs by dpkg-shlibdeps (dpkg-dev).
set(CPACK_PACKAGE_NAME tocka)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Tocka developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "session clock that logs each session, and its analyser")
set(CPACK_PACKAGE_DESCRIPTION
  "Tocka is a tiny borderless clock face that stays on the desktop and shows how
long the current session at the computer has run. When it closes, at logout
too, it appends a record of the session to two log files.
.
Tallio reads that log and shows the total time of all sessions, the number of
sessions, sessions per day and the average session length; tallio-report
prints the same report for scripts.")
set(CPACK_PACKAGE_CONTACT "The Tocka developers <maintainers@users.noreply.c-seed-71c0f675.example>")
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Opened at run time, when the alarm first sounds, so not among the
# libraries the programs link.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libcanberra0")
# The alarm's sound: libcanberra reaches PulseAudio and PipeWire only
# through its pulse driver, and the bell comes from the freedesktop theme.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "libcanberra-pulse, sound-theme-freedesktop")
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
set(CPACK_GENERATOR DEB)
include(CPack)
