#pragma once
// The Linux program's start: the Qt application, then the framework's main routine.

#include <string>

namespace afx::qt {

// programPath names the application: its file name without extension, first letter in capitals
// (Linux programs are installed in lower case; "marlox" is the application "Marlox"), which is
// also the caption of its message boxes. Empty: the running executable.
int RunProgram(int argc, char* argv[], const std::string& programPath = {});

// "Marlox" for "/usr/bin/marlox".
std::string ApplicationName(const std::string& programPath);

}  // namespace afx::qt
