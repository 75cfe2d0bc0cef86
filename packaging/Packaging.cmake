# The Debian package: `cpack -G DEB` in the build folder writes
# movarin_<version>_<arch>.deb.

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME movarin)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Movarin developers")
set(CPACK_PACKAGE_CONTACT "Movarin developers <movarin@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "batch video converter to MP4")
set(CPACK_PACKAGE_DESCRIPTION
  "Movarin converts a list of video files to MP4 in one run, with the codec,
bitrate, picture size, frame rate, aspect, audio channels and sampling
picked from its selectors. The conversion is done by ffmpeg; file
properties come from the MediaInfo library, and mplayer previews a file
inside the window. A tray icon blinks while a batch runs.
.
Movarin is free software under the GNU GPL, version 3 or later.")
set(CPACK_RESOURCE_FILE_LICENSE ${CMAKE_SOURCE_DIR}/LICENSE)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION video)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://www.example.org/movarin/)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
# Linked libraries are found by dpkg-shlibdeps. SQLite and MediaInfo are
# opened at run time, the converter, the player and xdg-open (Http and the
# output-folder button) are run as programs, and
# Qt loads its platform and SVG plugins itself: none of them shows up in the
# program's links, so they are named here.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
  "ffmpeg, mplayer, libsqlite3-0, libmediainfo0v5, qt6-qpa-plugins, libqt6svg6, xdg-utils")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-user-dirs")

include(CPack)
