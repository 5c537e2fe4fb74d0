target_sources(marlox_sys PRIVATE OpenFailure.cpp)
if(WIN32)
  target_sources(marlox_sys PRIVATE
    win32/CommSettings.cpp
    win32/Win32SerialPort.cpp)
else()
  target_sources(marlox_sys PRIVATE
    posix/TermiosSettings.cpp
    posix/DeviceHolders.cpp
    posix/UucpLock.cpp
    posix/PosixSerialPort.cpp)
endif()
