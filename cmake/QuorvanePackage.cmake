# The Debian package (scripts/package): everything `cmake --install` puts in place, under /usr.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quorvane)
set(CPACK_PACKAGE_VENDOR Brightwold)
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "follow your stocks and hear their prices read aloud")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "Quorvane follows the stocks you choose and reports them in a tabbed main\n"
    "window, on a ticker docked along the screen edge, and through an animated\n"
    "character who reads the latest prices aloud on a schedule and announces the\n"
    "alerts that your rules raise.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Brightwold")
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
# The libraries the program links are found by dpkg-shlibdeps. Named here: libcurl and libcrypto
# (the web update's checksums), which are opened at run time; Qt's SVG plugins, which draw the icons (the program itself calls no SVG function);
# and xdg-open, which opens the user guide and the stock pages.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libcurl4, libssl3, libqt6svg6, xdg-utils")
include(CPack)
