// Drop-down lists, tooltips and menus over their user32 and comctl32 messages and calls.
#include "afx/win32/Win32Backend.h"

namespace afx_win32 {

namespace {

int Send(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return hWnd ? static_cast<int>(::SendMessageA(hWnd, message, wParam, lParam)) : CB_ERR;
}

}  // namespace

int Win32Backend::ComboSelection(HWND hWnd) { return Send(hWnd, CB_GETCURSEL, 0, 0); }

int Win32Backend::ComboSelect(HWND hWnd, int index) {
    return Send(hWnd, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

int Win32Backend::ComboInsert(HWND hWnd, int index, const char* text) {
    return Send(hWnd, CB_INSERTSTRING, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text));
}

int Win32Backend::ComboItemHeight(HWND hWnd, int index) {
    return Send(hWnd, CB_GETITEMHEIGHT, static_cast<WPARAM>(index), 0);
}

void Win32Backend::ComboReset(HWND hWnd) { Send(hWnd, CB_RESETCONTENT, 0, 0); }

HWND Win32Backend::CreateToolTip(HWND hWndParent, DWORD dwStyle) {
    return ::CreateWindowExA(0, TOOLTIPS_CLASSA, nullptr, WS_POPUP | dwStyle, CW_USEDEFAULT,
                             CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hWndParent, nullptr,
                             afx_win32::ResourceModule(), nullptr);
}

bool Win32Backend::AddTool(HWND hWndToolTip, HWND hWndTool, UINT nIDText) {
    if (!hWndToolTip || !hWndTool) return false;
    TTTOOLINFOA info{};
    // The manifest asks for comctl32 6, which takes the whole record. Where the system hands out
    // an older comctl32 instead, that one rejects the size of the record with lpReserved: retry
    // with the size up to lParam, computed from the record itself.
    info.cbSize = sizeof info;
    info.uFlags = TTF_IDISHWND;
    info.hwnd = ::GetParent(hWndTool);
    info.uId = reinterpret_cast<UINT_PTR>(hWndTool);
    // A string id with the module: the tooltip loads the text itself, in the user's language.
    info.hinst = afx_win32::ResourceModule();
    info.lpszText = MAKEINTRESOURCEA(nIDText);
    if (::SendMessageA(hWndToolTip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&info))) return true;
    info.cbSize = TTTOOLINFOA_V2_SIZE;
    return ::SendMessageA(hWndToolTip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&info)) != FALSE;
}

int Win32Backend::SetMaxTipWidth(HWND hWndToolTip, int width) {
    return Send(hWndToolTip, TTM_SETMAXTIPWIDTH, 0, width);
}

void Win32Backend::ActivateToolTip(HWND hWndToolTip, bool activate) {
    Send(hWndToolTip, TTM_ACTIVATE, activate ? TRUE : FALSE, 0);
}

void Win32Backend::RelayToolTipEvent(HWND hWndToolTip, MSG* pMsg) {
    Send(hWndToolTip, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(pMsg));
}

bool Win32Backend::AppendMenu(HMENU hMenu, UINT nFlags, UINT_PTR nIDNewItem,
                              const char* lpszNewItem) {
    return hMenu && ::AppendMenuA(hMenu, nFlags, nIDNewItem, lpszNewItem);
}

}  // namespace afx_win32
