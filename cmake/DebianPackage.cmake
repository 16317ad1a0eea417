# The Debian package of both programs (scripts/package.sh builds it):
# korvale-map-manager_<version>_amd64.deb. Its library dependencies come
# from dpkg-shlibdeps; only what is loaded at run time without being linked
# is named here.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME korvale-map-manager)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Korvale Map Manager developers")
set(CPACK_PACKAGE_CONTACT "Korvale Map Manager developers <maintainers@korvale.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "turn raster maps into moving maps for GPS handhelds")
set(CPACK_PACKAGE_DESCRIPTION
    "Korvale Map Manager turns a raster map (BMP, JPEG, PNG, GIF, TIFF or\n"
    "GeoTIFF, KAP or CAP chart) and its calibration into a map database for\n"
    "a handheld's moving-map application, re-opens such maps, edits their\n"
    "calibration and colour depth, and installs them on a handheld.\n"
    "\n"
    "This package holds the desktop program korvale-map-manager and the\n"
    "command-line program kvmap, in English and German.")
string(REPLACE ";" "" CPACK_PACKAGE_DESCRIPTION "${CPACK_PACKAGE_DESCRIPTION}")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${KV_PROJECT_URL})
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS OFF)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# Qt finds its window-system plugins at run time, which dpkg-shlibdeps
# cannot see; Qt's translations put its own buttons in the user's language.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "bash-completion")

# scripts/package.sh builds what the package holds; installing need not
# build everything else (fuzz replays, benchmarks) first.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)

include(CPack)
