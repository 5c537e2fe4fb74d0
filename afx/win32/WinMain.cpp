// The program's entry point: compiled into the executable itself (an entry point in a static
// library is not found by the linker), it registers the back end and hands the executable's path
// to the framework.
#include "afx/win32/Win32Backend.h"

#include <cstdlib>
#include <exception>
#include <vector>

#include "afx/App.h"

// The runtime's default terminate handler writes the pending exception's demangled type to
// stderr, which a windowed program does not have; it would also bring in the whole demangler
// (about 46 KB). This one ends the program at once, as the default does after its message.
void __gnu_cxx::__verbose_terminate_handler() { std::abort(); }

namespace {

std::string ExecutablePath() {
    std::vector<char> path(MAX_PATH);
    for (;;) {
        const DWORD length =
            ::GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) return std::string();
        if (length < path.size()) return std::string(path.data(), length);
        if (path.size() >= 32768) return std::string();
        path.resize(path.size() * 2);
    }
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    static afx_win32::Win32Backend backend;
    afx::RegisterBackend(&backend);
    return AfxWinMain(ExecutablePath());
}
