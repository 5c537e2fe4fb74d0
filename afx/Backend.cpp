#include "afx/Backend.h"

#include <stdexcept>

#include "afx/Wnd.h"

namespace afx {
namespace {
Backend* g_backend = nullptr;  // constant-initialised: none before any constructor runs
}  // namespace

LRESULT RouteMessage(Backend& backend, HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (CWnd* object = CWnd::FromHandlePermanent(hWnd)) {
        LRESULT result = 0;
        if (AfxCallWndProc(object, message, wParam, lParam, &result)) return result;
    }
    return backend.DefWindowProc(hWnd, message, wParam, lParam);
}

void RegisterBackend(Backend* backend) { g_backend = backend; }

Backend& TheBackend() {
    if (g_backend == nullptr) throw std::logic_error("no window-system back end is registered");
    return *g_backend;
}

}  // namespace afx
