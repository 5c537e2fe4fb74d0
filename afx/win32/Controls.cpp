// Tooltips and menus over comctl32 and user32.
#include "afx/win32/Win32.h"

namespace afx_backend {

HWND CreateToolTip(HWND hWndParent, DWORD dwStyle) {
    return ::CreateWindowExA(0, TOOLTIPS_CLASSA, nullptr, WS_POPUP | dwStyle, CW_USEDEFAULT,
                             CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hWndParent, nullptr,
                             afx_win32::ResourceModule(), nullptr);
}

bool AddTool(HWND hWndToolTip, HWND hWndTool, UINT nIDText) {
    if (!hWndToolTip || !hWndTool) return false;
    TTTOOLINFOA info{};
    // The program has no manifest, so it gets the comctl32 that rejects the size of the newer
    // record (with lpReserved): give the size up to lParam, computed from the record itself.
    info.cbSize = TTTOOLINFOA_V2_SIZE;
    info.uFlags = TTF_IDISHWND;
    info.hwnd = ::GetParent(hWndTool);
    info.uId = reinterpret_cast<UINT_PTR>(hWndTool);
    // A string id with the module: the tooltip loads the text itself, in the user's language.
    info.hinst = afx_win32::ResourceModule();
    info.lpszText = MAKEINTRESOURCEA(nIDText);
    return ::SendMessageA(hWndToolTip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&info)) != FALSE;
}

bool AppendMenu(HMENU hMenu, UINT nFlags, UINT_PTR nIDNewItem, const char* lpszNewItem) {
    return hMenu && ::AppendMenuA(hMenu, nFlags, nIDNewItem, lpszNewItem);
}

}  // namespace afx_backend
