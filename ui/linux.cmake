# The Linux programs: marlox (the machine's ports) and marlox-demo (a simulated controller on top).
# The portable framework and its back end call each other: the linker rescans the pair.
add_executable(marlox linux/main.cpp)
target_link_libraries(marlox PRIVATE marlox_ui_app "$<LINK_GROUP:RESCAN,marlox_afx,marlox_afx_backend>")
