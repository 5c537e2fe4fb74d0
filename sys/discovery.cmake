# Port discovery's view of the system: on Windows the setup API loaded by name, the registry,
# the version and last error; on Linux the sysfs port inventory.
target_sources(marlox_sys PRIVATE
  DiscoveryPlatform.cpp)
if(WIN32)
  target_sources(marlox_sys PRIVATE
    win32/SetupApiLayout.cpp
    win32/Win32DiscoveryPlatform.cpp
    win32/Win32Module.cpp
    win32/Win32OsInfo.cpp
    win32/Win32PortEventWait.cpp
    win32/Win32Registry.cpp)
  target_link_libraries(marlox_sys PUBLIC advapi32)
else()
  target_sources(marlox_sys PRIVATE
    posix/PosixPortEventWait.cpp
    posix/SysfsPlatform.cpp
    posix/SysfsPorts.cpp
    posix/Uevents.cpp)
endif()
