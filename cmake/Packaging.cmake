# SPDX-License-Identifier: GPL-3.0-or-later

# A Debian package of what `cmake --install` puts in place: run `cpack` in
# the build directory. The library dependencies are found by dpkg-shlibdeps
# (from dpkg-dev) from the installed executable.

set(CPACK_GENERATOR "DEB")
set(CPACK_PACKAGE_NAME "vibrona")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_VENDOR "Vibrona developers")
set(CPACK_PACKAGE_CONTACT "Vibrona developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "Superposition of two perpendicular harmonic oscillations")
set(CPACK_PACKAGE_DESCRIPTION
    "Vibrona is a teaching program in Czech. It animates a mass held by two\n\
springs, one fixed above it and one fixed to its left, so that the mass\n\
moves as the sum of two perpendicular harmonic oscillations and traces a\n\
Lissajous figure. A chart shows the current point of the figure.")
set(CPACK_RESOURCE_FILE_LICENSE "${PROJECT_SOURCE_DIR}/LICENSE")
set(CPACK_PACKAGING_INSTALL_PREFIX "/usr")
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_PACKAGE_NAME "vibrona")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Vibrona developers")
set(CPACK_DEBIAN_PACKAGE_SECTION "education")
set(CPACK_DEBIAN_PACKAGE_PRIORITY "optional")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The Qt platform plugins (X11, Wayland) are loaded at run time, so
# dpkg-shlibdeps cannot see them.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# Debian's control file has no license field: the license, GPL-3.0-or-later,
# is stated in /usr/share/doc/vibrona/copyright, installed from data/.

include(CPack)
