# The Linux programs: marlox (the machine's ports) and marlox-demo (a simulated controller on top),
# their desktop integration and the .deb.
find_package(Qt6 REQUIRED COMPONENTS Widgets)

# What the programs (and the dialog's tests) hand the Qt back end.
add_library(marlox_ui_qt STATIC linux/QtProgram.cpp)
target_link_libraries(marlox_ui_qt PUBLIC marlox_afx_backend marlox_res_embedded)

add_executable(marlox linux/main.cpp)
target_link_libraries(marlox PRIVATE marlox_ui_app marlox_ui_qt)

add_executable(marlox-demo linux/DemoMain.cpp linux/DemoController.cpp linux/DemoPorts.cpp)
target_link_libraries(marlox-demo PRIVATE marlox_ui_app marlox_ui_qt Qt6::Core)
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
# A stripped install (cpack, cmake --install --strip) drops the compiler's notes too, as Debian's
# own packages do.
foreach(program marlox marlox-demo marlox-sim)
  install(CODE "if(CMAKE_INSTALL_DO_STRIP)
  execute_process(COMMAND \"${CMAKE_OBJCOPY}\" --remove-section=.comment
                  \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/${program}\"
                  COMMAND_ERROR_IS_FATAL ANY)
endif()")
endforeach()
install(FILES linux/marlox.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${MARLOX_ICON_PNG} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/256x256/apps)
install(FILES linux/example.marlox.Marlox.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# The .deb: cpack -G DEB in the build folder gives marlox_<version>_<arch>.deb. The package is
# made here, from this tree, so it is a native one: its version is the project's, without a
# Debian revision, and its Debian-format changelog is changelog.gz. Its documentation follows
# Debian's rules: manual pages and the changelog compressed with gzip -9n (no name, no time
# stamp), the copyright file machine-readable.
set(MARLOX_DEB_VERSION ${PROJECT_VERSION})
set(MARLOX_PACKAGE_SOURCE ${CMAKE_CURRENT_SOURCE_DIR}/linux/package)
set(MARLOX_PACKAGE_BINARY ${CMAKE_CURRENT_BINARY_DIR}/package)
set(MARLOX_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/marlox)
find_program(MARLOX_GZIP gzip REQUIRED)

# The changelog's latest entry names the version being packaged.
file(STRINGS ${MARLOX_PACKAGE_SOURCE}/changelog changelog_head LIMIT_COUNT 1)
if(NOT changelog_head MATCHES "^marlox \\(([^)]+)\\) ")
  message(FATAL_ERROR "${MARLOX_PACKAGE_SOURCE}/changelog: first line is not an entry: ${changelog_head}")
endif()
if(NOT CMAKE_MATCH_1 STREQUAL MARLOX_DEB_VERSION)
  message(FATAL_ERROR "${MARLOX_PACKAGE_SOURCE}/changelog: latest entry is ${CMAKE_MATCH_1}, "
                      "the package is ${MARLOX_DEB_VERSION}: add an entry")
endif()
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${MARLOX_PACKAGE_SOURCE}/changelog)

# copyright: the header from the tree, then the license text of LICENSE as its paragraph.
file(READ ${MARLOX_PACKAGE_SOURCE}/copyright.head copyright_text)
file(READ ${PROJECT_SOURCE_DIR}/LICENSE license_text)
string(REGEX REPLACE "\n+$" "" license_text "${license_text}")
string(REPLACE "\n" "\n " license_text " ${license_text}")
# Every line indented by one space, an empty one written as " ." (twice: matches overlap).
string(REGEX REPLACE "\n [ \t]*\n" "\n .\n" license_text "${license_text}")
string(REGEX REPLACE "\n [ \t]*\n" "\n .\n" license_text "${license_text}")
file(CONFIGURE OUTPUT ${MARLOX_PACKAGE_BINARY}/copyright CONTENT "${copyright_text}${license_text}\n" @ONLY)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
             ${MARLOX_PACKAGE_SOURCE}/copyright.head ${PROJECT_SOURCE_DIR}/LICENSE)

set(compressed_docs)
function(marlox_gzip source output)
  get_filename_component(uncompressed ${output} NAME_WLE)
  get_filename_component(folder ${output} DIRECTORY)
  add_custom_command(
    OUTPUT ${output}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${folder}
    COMMAND ${CMAKE_COMMAND} -E copy ${source} ${folder}/${uncompressed}
    COMMAND ${MARLOX_GZIP} -9nf ${folder}/${uncompressed}
    DEPENDS ${source}
    VERBATIM)
  set(compressed_docs ${compressed_docs} ${output} PARENT_SCOPE)
endfunction()

set(man_pages)
foreach(program marlox marlox-demo marlox-sim)
  marlox_gzip(${PROJECT_SOURCE_DIR}/docs/man/${program}.1 ${MARLOX_PACKAGE_BINARY}/man/${program}.1.gz)
  list(APPEND man_pages ${MARLOX_PACKAGE_BINARY}/man/${program}.1.gz)
endforeach()
marlox_gzip(${MARLOX_PACKAGE_SOURCE}/changelog ${MARLOX_PACKAGE_BINARY}/doc/changelog.gz)
add_custom_target(marlox-package-docs ALL DEPENDS ${compressed_docs})

install(FILES ${man_pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${MARLOX_PACKAGE_BINARY}/doc/changelog.gz ${MARLOX_PACKAGE_BINARY}/copyright
              ${MARLOX_PACKAGE_SOURCE}/README.Debian
        DESTINATION ${MARLOX_DOC_DIR})

set(CPACK_PACKAGE_NAME marlox)
set(CPACK_PACKAGE_VERSION ${MARLOX_DEB_VERSION})
set(CPACK_PACKAGE_CONTACT "Marlox maintainers <maintainers@marlox.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Connection tester for engine controllers on a serial port")
# No apostrophes or ampersands in it: CPack writes them to the control file as XML entities.
set(CPACK_PACKAGE_DESCRIPTION_FILE ${MARLOX_PACKAGE_SOURCE}/description)
set(CPACK_PACKAGE_HOMEPAGE_URL https://marlox.example/)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
# The Qt and C/C++ libraries come from dpkg-shlibdeps; the platform plug-ins that draw the
# window are loaded at run time, so they are named here.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR DEB)
include(CPack)
