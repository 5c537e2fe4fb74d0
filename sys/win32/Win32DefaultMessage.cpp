// A message box owned by no window, captioned with the program's file name.
#include "sys/DefaultMessage.h"

#include <windows.h>

namespace sys {

namespace {

std::string ProgramName() {
    char path[MAX_PATH + 1] = {};
    const DWORD length = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string name(path, length < MAX_PATH ? length : MAX_PATH);
    const std::size_t slash = name.find_last_of("\\/");
    if (slash != std::string::npos) name.erase(0, slash + 1);
    const std::size_t dot = name.rfind('.');
    if (dot != std::string::npos && dot > 0) name.erase(dot);
    return name;
}

}  // namespace

void ShowDefaultMessage(const std::string& text) {
    ::MessageBoxA(nullptr, text.c_str(), ProgramName().c_str(), MB_OK);
}

}  // namespace sys
