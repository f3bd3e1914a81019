# Installing like a desktop application: the two programs in bin/, the menu
# entry, icons, AppStream metadata, the design files' types and thumbnailer
# and the manual pages under share/, and a Debian package from CPack whose
# dependencies dpkg-shlibdeps works out from the binaries.
include(GNUInstallDirs)

set(DESIGNER_APP_ID example.orlensuits.JumpsuitDesigner)

install(TARGETS jumpsuit-designer jumpsuit-order RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${PROJECT_SOURCE_DIR}/packaging/${DESIGNER_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/${DESIGNER_APP_ID}.mime.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages RENAME ${DESIGNER_APP_ID}.xml)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/jumpsuit-designer.thumbnailer
        DESTINATION ${CMAKE_INSTALL_DATADIR}/thumbnailers)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/${DESIGNER_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
foreach(size 16 32 48 64 128 256)
    install(FILES ${PROJECT_SOURCE_DIR}/resources/icons/jumpsuit-designer-${size}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
            RENAME jumpsuit-designer.png)
endforeach()
install(FILES ${PROJECT_SOURCE_DIR}/resources/icons/jumpsuit-designer.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
# The design files' icon, named in the MIME package.
foreach(size 16 32 48 64 128 256)
    install(FILES ${PROJECT_SOURCE_DIR}/resources/icons/application-x-jumpsuit-design-${size}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/mimetypes
            RENAME application-x-jumpsuit-design.png)
endforeach()
install(FILES ${PROJECT_SOURCE_DIR}/resources/icons/application-x-jumpsuit-design.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/mimetypes)

# The manual pages and the changelog compressed as Debian wants them: gzip -9,
# no name or time stamp inside, so the package is the same from every build.
set(compressed_docs)
foreach(doc man/jumpsuit-designer.1 man/jumpsuit-order.1 changelog)
    set(gz ${PROJECT_BINARY_DIR}/packaging/${doc}.gz)
    add_custom_command(OUTPUT ${gz}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/packaging/man
        COMMAND gzip -9 -n -c ${PROJECT_SOURCE_DIR}/packaging/${doc} > ${gz}
        DEPENDS ${PROJECT_SOURCE_DIR}/packaging/${doc} VERBATIM)
    list(APPEND compressed_docs ${gz})
endforeach()
add_custom_target(compressed-docs ALL DEPENDS ${compressed_docs})
install(FILES ${PROJECT_BINARY_DIR}/packaging/man/jumpsuit-designer.1.gz
              ${PROJECT_BINARY_DIR}/packaging/man/jumpsuit-order.1.gz
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${PROJECT_BINARY_DIR}/packaging/changelog.gz ${PROJECT_SOURCE_DIR}/packaging/copyright
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/jumpsuit-designer)

# The user guide the designer shows under Help, as HTML pages to read anywhere.
install(FILES ${DESIGNER_GUIDE_FILES} DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/jumpsuit-designer/guide)

set(CPACK_PACKAGE_NAME jumpsuit-designer)
set(CPACK_PACKAGE_VENDOR "Orlensuits")
set(CPACK_PACKAGE_CONTACT "Orlensuits <sales@orlensuits.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Colour and fabric designer for skydiving jumpsuits")
# Debian wants the long description in lines of under 80 characters.
set(CPACK_PACKAGE_DESCRIPTION
    "Pick a suit model, then a fabric and a colour for each area of the suit;
the colour list is the order summary. The order tool jumpsuit-order turns
design files into order summaries (text or JSON), order sheets (PDF or PNG)
and thumbnails, with no display.")
set(CPACK_PACKAGE_HOMEPAGE_URL "https://www.orlensuits.example/")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
include(CPack)
