# `cmake --install`: the program, its desktop entry and its icon in the sizes
# desktop environments look for.
include(GNUInstallDirs)

install(TARGETS vellor RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${PROJECT_SOURCE_DIR}/res/vellor.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/res/128.png
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/32x32/apps RENAME vellor.png)
foreach(size 48 64 128 256)
  install(FILES ${PROJECT_SOURCE_DIR}/res/icon/vellor-${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
          RENAME vellor.png)
endforeach()
