# Installing like a desktop application: the program in bin/, its menu entry,
# icons and AppStream metadata under share/, and a Debian package from CPack
# whose dependencies dpkg-shlibdeps works out from the binary.
include(GNUInstallDirs)

set(DESIGNER_APP_ID example.orlensuits.JumpsuitDesigner)

install(TARGETS jumpsuit-designer RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${PROJECT_SOURCE_DIR}/packaging/${DESIGNER_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/${DESIGNER_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
foreach(size 16 32 48 64 128 256)
    install(FILES ${PROJECT_SOURCE_DIR}/resources/icons/jumpsuit-designer-${size}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
            RENAME jumpsuit-designer.png)
endforeach()
install(FILES ${PROJECT_SOURCE_DIR}/resources/icons/jumpsuit-designer.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)

set(CPACK_PACKAGE_NAME jumpsuit-designer)
set(CPACK_PACKAGE_VENDOR "Orlensuits")
set(CPACK_PACKAGE_CONTACT "Orlensuits <sales@orlensuits.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Colour and fabric designer for skydiving jumpsuits")
set(CPACK_PACKAGE_DESCRIPTION
    "Pick a suit model, then a fabric and a colour for each area of the suit; the colour list is the order summary.")
set(CPACK_PACKAGE_HOMEPAGE_URL "https://www.orlensuits.example/")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
include(CPack)
