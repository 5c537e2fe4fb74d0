# The standard descriptors a command-line tool keeps taken.
if(WIN32)
  target_sources(marlox_sys PRIVATE win32/Win32StandardDescriptors.cpp)
else()
  target_sources(marlox_sys PRIVATE posix/PosixStandardDescriptors.cpp)
endif()
