# Install rules and the Debian package (cpack -G DEB).
#
# The program looks for its resource folder "资源" beside itself, so both go
# into a private folder, lib/appointform/, and bin/appointform is a symbolic
# link to it (the running program resolves the link and finds 资源 beside
# the real file).
set(AF_PRIVATE_DIR lib/appointform)

install(TARGETS appointform RUNTIME DESTINATION ${AF_PRIVATE_DIR})
install(DIRECTORY ${PROJECT_SOURCE_DIR}/resources/资源 DESTINATION ${AF_PRIVATE_DIR})

file(CREATE_LINK ../${AF_PRIVATE_DIR}/appointform ${PROJECT_BINARY_DIR}/appointform-link SYMBOLIC)
install(FILES ${PROJECT_BINARY_DIR}/appointform-link DESTINATION bin RENAME appointform)

set(AF_PACKAGING ${PROJECT_SOURCE_DIR}/packaging)
install(FILES ${AF_PACKAGING}/appointform.desktop DESTINATION share/applications)
install(FILES ${AF_PACKAGING}/appointform-mime.xml DESTINATION share/mime/packages RENAME appointform.xml)
install(FILES ${AF_PACKAGING}/icons/appointform.svg DESTINATION share/icons/hicolor/scalable/apps)
foreach(size 16 24 32 48 64 128 256)
  install(FILES ${AF_PACKAGING}/icons/hicolor/${size}x${size}/apps/appointform.png
          DESTINATION share/icons/hicolor/${size}x${size}/apps)
endforeach()
install(FILES ${PROJECT_SOURCE_DIR}/README.md DESTINATION share/doc/appointform)
# Word documents name their faces 宋体 and 楷体; this alias lets LibreOffice
# and WPS find the free faces under those names. fontconfig reads conf.d from
# /etc whatever the prefix, hence the absolute destination; in the package
# it is a conffile, so a local change survives an upgrade.
set(AF_FONT_ALIAS /etc/fonts/conf.d/65-appointform-cjk-fonts.conf)
get_filename_component(AF_FONT_ALIAS_DIR ${AF_FONT_ALIAS} DIRECTORY)
install(FILES ${AF_PACKAGING}/65-appointform-cjk-fonts.conf DESTINATION ${AF_FONT_ALIAS_DIR})
file(WRITE ${PROJECT_BINARY_DIR}/conffiles "${AF_FONT_ALIAS}\n")

set(CPACK_PACKAGE_NAME appointform)
set(CPACK_PACKAGE_VENDOR "AppointForm")
set(CPACK_PACKAGE_CONTACT "AppointForm developers <appointform@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Editor for the cadre appointment and removal approval form (干部任免审批表)")
# One string: pieces in a list would reach the package joined by ";".
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "Type one cadre's particulars into a window laid out like the printed form, attach a photo, check, "
    "preview both pages exactly as they print, print them and save the record as a .dwz document. "
    "Older .ren documents and brief-form documents (.ljy, .jan) load too.")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION office)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# Shared libraries are found by dpkg-shlibdeps; what the program loads at
# run time (platform plugin, fonts with the form's metrics, Qt's Chinese
# translations) is named here.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "qt6-qpa-plugins, fonts-arphic-gbsn00lp, fonts-arphic-gkai00mp, qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${PROJECT_BINARY_DIR}/conffiles)
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR DEB)
include(CPack)
