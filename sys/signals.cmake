# The stop signals a command-line tool catches to end its work itself.
if(WIN32)
  target_sources(marlox_sys PRIVATE win32/Win32StopSignals.cpp)
else()
  target_sources(marlox_sys PRIVATE posix/PosixStopSignals.cpp)
endif()
