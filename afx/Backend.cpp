#include "afx/Backend.h"

#include "afx/Wnd.h"

#include <stdexcept>

namespace afx {

namespace {

Backend*& Registered() {
    static Backend* registered = nullptr;
    return registered;
}

}  // namespace

LRESULT RouteMessage(Backend& backend, HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (CWnd* object = CWnd::FromHandlePermanent(hWnd)) {
        LRESULT result = 0;
        if (AfxCallWndProc(object, message, wParam, lParam, &result)) return result;
    }
    return backend.DefWindowProc(hWnd, message, wParam, lParam);
}

void RegisterBackend(Backend* backend) { Registered() = backend; }

Backend& TheBackend() {
    Backend* registered = Registered();
    if (registered == nullptr) throw std::logic_error("no window-system back end is registered");
    return *registered;
}

}  // namespace afx
