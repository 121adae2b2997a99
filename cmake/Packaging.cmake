# The Debian package (scripts/package.sh builds it): `cpack -G DEB` in a Release tree configured
# with BEAMWORKS_DEBIAN_DOCS=ON installs the tree into /usr and packs it as
# beamworks_VERSION_ARCH.deb. Its Depends line is computed from the libraries the programs link
# with (dpkg-shlibdeps); no maintainer scripts: the desktop, icon and manual caches follow through
# their packages' triggers.
set(BEAMWORKS_MAINTAINER "Beamworks developers <beamworks@example.org>"
  CACHE STRING "Maintainer of the Debian package, \"Name <address>\"")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME beamworks)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "3D puzzle game about laser light")
# The extended description in lines short enough for a terminal (CPack does not wrap them).
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
  "Turn, tilt and carry mirrors, half mirrors and colour filters in a closed"
  "room so that the laser beam, reflected, split, filtered and re-coloured on"
  "its way, reaches every goal in exactly the goal's colour. Thirty levels in"
  "three chapters: the first teaches one idea per level, the second combines"
  "them, the third is hard. The laser's energy is limited."
  "."
  "For level designers, beamworks-check runs the light simulation over level"
  "files without a window, and beamworks-solve finds the fewest elements to"
  "turn that solve a level.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${BEAMWORKS_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
# Folders as dpkg expects them whatever the umask of the build.
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ
  GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
include(CPack)
