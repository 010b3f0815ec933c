# `make package`: a Debian package of the installation (packaging/CMakeLists.txt).
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME scaffaria)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Assistenza Scaffaria <assistenza@example.com>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "warehouse product cards, inventory and printed price lists for a shop")
# The long description below the summary; CPack indents each line.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Scaffaria keeps one product card per article of a shop's warehouse, with its
photo and attached documents, adjusts stock, lists what is running out and what
is not yet paid, values the inventory, exports to a spreadsheet, and keeps price
lists whose pages of eight products print as A4 sheets. Its interface is in
Italian. Each user's files live in ~/.local/share/Scaffaria.")
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://www.example.com")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_STRIP_FILES TRUE)
# The libraries the program links, found by dpkg-shlibdeps, and what no link reveals:
# the image-format, SVG and multimedia plugins Qt loads at run time, the GStreamer
# plugins behind the webcam, Qt's Italian translation, the fonts the screens and sheets
# name, and the desktop's opener for documents, mail and web links.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "qt6-image-formats-plugins, libqt6svg6, libqt6multimedia6, qt6-translations-l10n, gstreamer1.0-plugins-base, gstreamer1.0-plugins-good, fonts-liberation2, fonts-dejavu-core, xdg-utils")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland")
include(CPack)
