# The Debian package (scripts/package.sh builds it): `cpack -G DEB` in a configured build folder
# packs everything the install() rules name, under /usr, the copyright and changelog included.
include(${PROJECT_SOURCE_DIR}/cmake/release.cmake)
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME sorrelix)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Sorrelix developers")
set(CPACK_PACKAGE_CONTACT "${SORRELIX_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "merge one folder tree into another, safely")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${CPACK_PACKAGE_CONTACT}")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# CPack indents the body and marks its empty lines itself; the summary is the first line.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Sorrelix compares a source folder with a target folder file by file, copies
the new and changed files into the target (as copy-on-write clones where the
file system allows), first moves every file it would overwrite into a backup
folder inside the target, and records each merge so that it can be undone.

The package holds the desktop application (sorrelix) and the command-line
tool for scripts (sorrelix-cli).")
# The Qt 6 runtime libraries come from the binaries' own links; native Wayland is optional.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)

include(CPack)
