# Port discovery's view of the system: module loading and the setup API, the registry, the
# version and last error, and the message box.
target_sources(marlox_sys PRIVATE
  DiscoveryPlatform.cpp
  MessageBox.cpp)
if(WIN32)
  target_sources(marlox_sys PRIVATE
    win32/SetupApiLayout.cpp
    win32/Win32DefaultMessage.cpp
    win32/Win32Module.cpp
    win32/Win32OsInfo.cpp
    win32/Win32Registry.cpp)
  target_link_libraries(marlox_sys PUBLIC advapi32 user32)
else()
  target_sources(marlox_sys PRIVATE
    posix/BuiltinSetupApi.cpp
    posix/PosixDefaultMessage.cpp
    posix/PosixModuleLoader.cpp
    posix/PosixOsInfo.cpp
    posix/PosixRegistry.cpp
    posix/SysfsPorts.cpp)
endif()
