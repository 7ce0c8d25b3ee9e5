# The Debian package: `cpack -G DEB` in a build folder gives tarvex_<version>_<arch>.deb,
# installable with `apt install ./tarvex_*.deb`. The libraries it needs are found by
# dpkg-shlibdeps from what the programs link.
set(CPACK_PACKAGE_NAME "tarvex")
set(CPACK_PACKAGE_VENDOR "Tarvex")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "cut MP3 files into pieces and join several files into one")
set(CPACK_PACKAGE_DESCRIPTION
    "Tarvex MP3 Splitter Joiner cuts audio files into pieces of a set length, into a number
of equal pieces or into marked ranges, and joins several files into one. It encodes MP3
with LAME and writes WAV, WMA and Ogg Vorbis, fades pieces in and out and carries the
source's tags into them. The package holds the window (tarvex) and the command line
(tarvex-cli).")
set(CPACK_PACKAGE_HOMEPAGE_URL "https://tarvex.example/")
set(CPACK_PACKAGE_CONTACT "Tarvex support <support@tarvex.example>")
set(CPACK_PACKAGE_INSTALL_DIRECTORY "tarvex")
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_PACKAGE_NAME "tarvex")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${CPACK_PACKAGE_CONTACT}")
set(CPACK_DEBIAN_PACKAGE_SECTION "sound")
set(CPACK_DEBIAN_PACKAGE_PRIORITY "optional")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The Qt platform plugins are loaded at run time, so shlibdeps cannot see them.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "desktop-file-utils")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

# Only what `cmake --install` puts in place; the tests and benchmarks stay out.
# Installing (and so packaging) builds nothing itself: scripts/check-package
# builds the two programs first, so a tree configured with the tests does not
# have to build them all to be packaged.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)
set(CPACK_GENERATOR "DEB")
set(CPACK_SOURCE_GENERATOR "")
include(CPack)
