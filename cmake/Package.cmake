# `cpack -G DEB` (scripts/package.sh): a Debian package of what cmake/Install.cmake
# installs, under /usr. Its library dependencies are read from the binary; to
# them come the fonts the stand-in faces are taken from and Qt's Wayland
# platform, which the program asks for on a Wayland desktop, and the US English
# speech model the voice follower loads.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vellor)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Vellor")
set(CPACK_PACKAGE_CONTACT "Vellor developers <vellor@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "desktop teleprompter")
set(CPACK_PACKAGE_DESCRIPTION
    "Vellor edits a script and scrolls it full screen on the chosen monitor, right-reading or\nmirrored for beam-splitter glass, while the operator steers it from the keyboard and\nthe mouse.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION video)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "fonts-dejavu-core, fonts-roboto-unhinted, qt6-wayland, pocketsphinx-en-us")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${VELLOR_HOMEPAGE_URL}")
include(CPack)
