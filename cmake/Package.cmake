# The Debian package, built by `cpack -G DEB` in the build folder. Its runtime dependencies are
# derived from the installed program by dpkg-shlibdeps.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME snowroll)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Snowroll developers <developers@snowroll.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "roll a snow figure through a maze of fir trees")
set(CPACK_PACKAGE_DESCRIPTION
    "Steer a figure of three stacked snowballs through a maze of fir trees, seen\n\
from a camera behind and above it. Every snow pile it comes near is gathered\n\
and makes it grow, while it melts a little all the time. Ten levels; an\n\
overlay shows the level and the share of snow gathered.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
# Install with the final prefix and a staging DESTDIR, so the man page names /usr paths.
set(CPACK_SET_DESTDIR ON)
set(CPACK_INSTALL_PREFIX ${CPACK_PACKAGING_INSTALL_PREFIX})
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
# Rebuilds bit for bit: see cmake/ReproduciblePackage.cmake.
set(CPACK_PRE_BUILD_SCRIPTS ${PROJECT_SOURCE_DIR}/cmake/ReproduciblePackage.cmake)
set(CPACK_SNOWROLL_SOURCE_DIR ${PROJECT_SOURCE_DIR})
include(CPack)
