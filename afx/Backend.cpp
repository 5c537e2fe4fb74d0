#include "afx/Backend.h"

#include "afx/Wnd.h"

namespace afx {

namespace {

Backend*& Registered() {
    static Backend* registered = nullptr;
    return registered;
}

}  // namespace

DWORD Backend::GetStyle(HWND hWnd) { return IsShown(hWnd) ? WS_VISIBLE : 0; }

bool Backend::ModifyStyle(HWND hWnd, DWORD remove, DWORD add, UINT) {
    if (!IsWindow(hWnd)) return false;
    const bool shown = IsShown(hWnd);
    bool show = shown;
    if (remove & WS_VISIBLE) show = false;
    if (add & WS_VISIBLE) show = true;
    if (show == shown) return false;
    Show(hWnd, show);
    return true;
}

LRESULT Backend::SendMessage(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (CWnd* object = CWnd::FromHandlePermanent(hWnd)) {
        LRESULT result = 0;
        if (AfxCallWndProc(object, message, wParam, lParam, &result)) return result;
    }
    return DefWindowProc(hWnd, message, wParam, lParam);
}

void RegisterBackend(Backend* backend) { Registered() = backend; }

Backend& TheBackend() {
    static Backend none;
    Backend* registered = Registered();
    return registered != nullptr ? *registered : none;
}

}  // namespace afx
