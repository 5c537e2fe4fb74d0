# marlox_ui: the dialog code, portable. marlox_ui_app adds the one application object; each
# program links it together with its platform's framework back end.
add_library(marlox_ui STATIC
  AboutDlg.cpp
  TestCommand.cpp
  TesterApp.cpp
  TesterDlg.cpp)
target_include_directories(marlox_ui PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(marlox_ui PUBLIC marlox_afx marlox_link marlox_ports)

add_library(marlox_ui_app INTERFACE)
target_sources(marlox_ui_app INTERFACE ${CMAKE_CURRENT_SOURCE_DIR}/TheApp.cpp)
target_link_libraries(marlox_ui_app INTERFACE marlox_ui)

if(WIN32)
  # Marlox.exe: WIN32 subsystem, resources linked, runtime linked statically (system DLLs only).
  add_executable(Marlox WIN32)
  set_target_properties(Marlox PROPERTIES OUTPUT_NAME Marlox)
  target_link_libraries(Marlox PRIVATE marlox_ui_app marlox_afx_backend marlox_res)
  target_link_options(Marlox PRIVATE -static $<$<CONFIG:Release>:-s>)
endif()

# The Linux programs marlox and marlox-demo (afx/qt back end) are defined there.
if(NOT WIN32)
  include(linux.cmake OPTIONAL)
endif()
