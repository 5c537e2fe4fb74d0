# The Windows release: Marlox-<version>-windows.zip, made by CPack in the x64 build, with this
# build's program and the x86 build's (MARLOX_WIN32_DIR), each in a folder named by its
# architecture, and a README in English and Japanese. Each keeps the name Marlox.exe: the
# framework names the application, and so every message box, after the executable.
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(MARLOX_ARCH x64)
else()
  set(MARLOX_ARCH x86)
endif()
set(MARLOX_WIN32_DIR "" CACHE PATH
  "Build folder of the x86 Windows build, whose program the x64 build's ZIP also holds")

install(PROGRAMS $<TARGET_FILE:Marlox> DESTINATION ${MARLOX_ARCH})
if(MARLOX_WIN32_DIR AND MARLOX_ARCH STREQUAL "x64")
  # Not optional: a ZIP without the x86 program must fail, not ship.
  install(PROGRAMS ${MARLOX_WIN32_DIR}/ui/Marlox.exe DESTINATION x86)
endif()

# Notepad before Windows 10 1903 reads a text file as UTF-8 only with a byte order mark (the
# source has one), and before 1809 breaks lines only at CR LF.
file(READ ${CMAKE_CURRENT_SOURCE_DIR}/windows/README.txt readme)
string(CONFIGURE "${readme}" readme @ONLY)
string(REPLACE "\n" "\r\n" readme "${readme}")
file(WRITE ${CMAKE_CURRENT_BINARY_DIR}/README.txt "${readme}")
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
  ${CMAKE_CURRENT_SOURCE_DIR}/windows/README.txt)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/README.txt DESTINATION .)

set(CPACK_PACKAGE_NAME Marlox)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_FILE_NAME Marlox-${PROJECT_VERSION}-windows)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
set(CPACK_GENERATOR ZIP)
include(CPack)
