# Installation and the Debian package (`cpack -G DEB` in the build folder).
include(GNUInstallDirs)

foreach(target orb orb-cli orb-devsim)
  if(TARGET ${target})
    install(TARGETS ${target} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  endif()
endforeach()

set(ORB_DESKTOP_DIR ${PROJECT_SOURCE_DIR}/resources/desktop)
set(ORB_ICON_DIR ${PROJECT_SOURCE_DIR}/resources/icons)
set(ORB_APP_ID org.orbsurvey.Orb)
install(FILES ${ORB_DESKTOP_DIR}/${ORB_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${ORB_DESKTOP_DIR}/${ORB_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${ORB_DESKTOP_DIR}/orb-survey.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages)
foreach(icon ${ORB_APP_ID}:apps application-x-orb-survey:mimetypes)
  string(REPLACE ":" ";" parts ${icon})
  list(GET parts 0 name)
  list(GET parts 1 context)
  install(FILES ${ORB_ICON_DIR}/${name}.svg
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/${context})
  install(FILES ${ORB_ICON_DIR}/${name}-48.png RENAME ${name}.png
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/48x48/${context})
endforeach()

set(CPACK_PACKAGE_NAME orb)
set(CPACK_PACKAGE_VENDOR "Orb")
set(CPACK_PACKAGE_CONTACT "Orb developers <orb@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Borehole survey program of the electronic multishot probe")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# What no library link reveals: Qt loads its platform plugins and its own
# translations at run time.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-noto-cjk, fonts-liberation2, fonts-dejavu-core")
set(CPACK_GENERATOR DEB)
include(CPack)
