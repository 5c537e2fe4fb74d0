# The Linux programs: marlox (the machine's ports) and marlox-demo (a simulated controller on top),
# their desktop integration and the .deb.
find_package(Qt6 REQUIRED COMPONENTS Widgets)

add_executable(marlox linux/main.cpp)
target_link_libraries(marlox PRIVATE marlox_ui_app marlox_afx_backend)

add_executable(marlox-demo linux/DemoMain.cpp linux/DemoController.cpp linux/DemoPorts.cpp)
target_link_libraries(marlox-demo PRIVATE marlox_ui_app marlox_afx_backend Qt6::Core)
# Installed, the simulator sits beside the demo; in the build tree it is found here.
target_compile_definitions(marlox-demo PRIVATE MARLOX_SIM_BUILD_PATH="$<TARGET_FILE:marlox-sim>")
add_dependencies(marlox-demo marlox-sim)

# The desktop icon: the program's own .ico as a PNG, made at build time.
add_executable(marlox-ico-to-png linux/IcoToPng.cpp)
target_link_libraries(marlox-ico-to-png PRIVATE Qt6::Gui)
set(MARLOX_ICON_PNG ${CMAKE_CURRENT_BINARY_DIR}/marlox.png)
add_custom_command(
  OUTPUT ${MARLOX_ICON_PNG}
  COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen
          $<TARGET_FILE:marlox-ico-to-png> ${PROJECT_SOURCE_DIR}/res/Marlox.ico ${MARLOX_ICON_PNG}
  DEPENDS marlox-ico-to-png ${PROJECT_SOURCE_DIR}/res/Marlox.ico
  COMMENT "Converting Marlox.ico to marlox.png"
  VERBATIM)
add_custom_target(marlox-icon ALL DEPENDS ${MARLOX_ICON_PNG})

include(GNUInstallDirs)
install(TARGETS marlox marlox-demo marlox-sim RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES linux/marlox.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${MARLOX_ICON_PNG} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/32x32/apps)

# cpack -G DEB in the build folder: marlox_<version>_<arch>.deb, depending on Qt 6 only
# (and the C/C++ runtime that Qt itself needs).
set(CPACK_PACKAGE_NAME marlox)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Marlox maintainers <marlox@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Connection tester for engine controllers on a serial port")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6widgets6 (>= 6.4), libqt6gui6 (>= 6.4), libqt6core6 (>= 6.4), qt6-qpa-plugins")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS OFF)
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR DEB)
include(CPack)
