# `cmake --install`: the program and what a desktop expects beside it. The
# data folder share/vellor/ is also how the program knows it was installed:
# it then keeps its settings in the user's configuration folder.
include(GNUInstallDirs)

set(VELLOR_RELEASE_DATE 2026-12-09)
set(linux_res ${PROJECT_SOURCE_DIR}/res/linux)
set(generated ${PROJECT_BINARY_DIR}/res/linux)

install(TARGETS vellor RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

install(FILES ${linux_res}/welcome.txt DESTINATION ${CMAKE_INSTALL_DATADIR}/vellor)
install(FILES ${PROJECT_SOURCE_DIR}/res/help/vellor.html DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/vellor)
# The remote control's and the show controllers' guides, which the manual page names.
install(FILES ${PROJECT_SOURCE_DIR}/docs/remote.md ${PROJECT_SOURCE_DIR}/docs/show-controllers.md
  ${PROJECT_SOURCE_DIR}/docs/remote-dialog.png ${PROJECT_SOURCE_DIR}/docs/remote-phone.png
  DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/vellor)

install(FILES ${linux_res}/vellor.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
configure_file(${linux_res}/vellor.metainfo.xml.in ${generated}/org.example.vellor.metainfo.xml
               @ONLY)
install(FILES ${generated}/org.example.vellor.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

install(FILES ${PROJECT_SOURCE_DIR}/res/128.png
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/32x32/apps RENAME vellor.png)
foreach(size 48 64 128 256)
  install(FILES ${PROJECT_SOURCE_DIR}/res/icon/vellor-${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
          RENAME vellor.png)
endforeach()

# Manual pages are kept compressed; the program depends on the page so that
# building it alone is enough to install.
configure_file(${linux_res}/vellor.1.in ${generated}/vellor.1 @ONLY)
add_custom_command(OUTPUT ${generated}/vellor.1.gz
                   COMMAND gzip -9 -n -f -k ${generated}/vellor.1
                   DEPENDS ${generated}/vellor.1)
add_custom_target(vellor_manual DEPENDS ${generated}/vellor.1.gz)
add_dependencies(vellor vellor_manual)
install(FILES ${generated}/vellor.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
