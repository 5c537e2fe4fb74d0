# marlox_afx: the portable part of the framework (message maps, data exchange, the handle map,
# strings, the application object), shared by both back ends. marlox_afx_backend: the window
# system's part (afx/Backend.h), over Win32 or Qt 6; programs link it next to marlox_ui.
# On Linux marlox_afx must not link the back end itself: tests/afx links marlox_afx with an
# in-memory back end of its own.
add_library(marlox_afx STATIC
  App.cpp
  Controls.cpp
  Dialog.cpp
  Exception.cpp
  HandleMap.cpp
  Menu.cpp
  MessageMap.cpp
  String.cpp
  Wnd.cpp)
target_include_directories(marlox_afx PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(marlox_afx PUBLIC marlox_sys)

if(WIN32)
  add_subdirectory(win32)
elseif(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/qt/CMakeLists.txt)
  add_subdirectory(qt)
endif()

# What a program links: the portable part and its back end call each other, so the linker
# rescans the pair.
if(TARGET marlox_afx_backend)
  add_library(marlox_framework INTERFACE)
  target_link_libraries(marlox_framework INTERFACE "$<LINK_GROUP:RESCAN,marlox_afx,marlox_afx_backend>")
endif()
