# The Debian package (cpack -G DEB in a build folder; tools/package.sh makes it from a
# release build). Its dependencies are computed from the shared libraries of everything
# it installs, with dpkg-shlibdeps.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ravinel)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "fast, exact picture viewer with a thumbnail browser")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Ravinel opens a picture in one window fitted to the screen, reduced or enlarged by its
own bit-exact area-average resampling, optionally cleaned by automatic filters, and steps
through the folder with keys and mouse chords. A browser shows folders as a tree and a
grid of thumbnails; pictures inside ZIP, LHA and TAR archives open without unpacking.
JPEG, PNG, GIF, TIFF, WebP, AVIF, HEIF, JPEG XL and camera RAW are read by bundled
decoder plug-ins, and more plug-ins can be added.")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "The Ravinel developers <dev@ravinel.invalid>")
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Loaded by Qt at run time, so no library of ours names it: the window icon is an SVG.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6svg6")
set(CPACK_STRIP_FILES ON)
include(CPack)
