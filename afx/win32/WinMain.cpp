// The program's entry point: compiled into the executable itself (an entry point in a static
// library is not found by the linker), it hands the executable's path to the framework.
#include "afx/win32/Win32.h"

#include <vector>

#include "afx/App.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    std::vector<char> path(MAX_PATH);
    for (;;) {
        const DWORD length = ::GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) return AfxWinMain(std::string());
        if (length < path.size()) return AfxWinMain(std::string(path.data(), length));
        if (path.size() >= 32768) return AfxWinMain(std::string());
        path.resize(path.size() * 2);
    }
}
