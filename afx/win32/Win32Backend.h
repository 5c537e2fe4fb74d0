#pragma once
// The Win32 back end: every operation of afx/Backend.h answered with the user32 and comctl32
// call or message of the same meaning. The framework's own names (CWnd::SendMessage,
// Backend::LoadString, ...) collide with windows.h's A/W selection macros; they are removed
// here, and the back end calls the ANSI functions by their full names.

#include <windows.h>
#include <commctrl.h>

#undef AppendMenu
#undef DefWindowProc
#undef IsDialogMessage
#undef LoadIcon
#undef LoadString
#undef MessageBox
#undef PeekMessage
#undef SendMessage
#undef SetWindowText

#include "afx/Backend.h"

namespace afx_win32 {

class Win32Backend : public afx::Backend {
public:
    HWND GetDlgItem(HWND hDlg, int nID) override {
        return hDlg ? ::GetDlgItem(hDlg, nID) : nullptr;
    }
    HWND GetParent(HWND hWnd) override { return hWnd ? ::GetParent(hWnd) : nullptr; }
    bool IsWindow(HWND hWnd) override { return hWnd && ::IsWindow(hWnd); }
    void SetWindowText(HWND hWnd, const char* text) override {
        if (hWnd) ::SetWindowTextA(hWnd, text);
    }
    bool EnableWindow(HWND hWnd, bool enable) override {
        return hWnd && ::EnableWindow(hWnd, enable ? TRUE : FALSE) != FALSE;
    }
    bool SetWindowPos(HWND hWnd, HWND after, int x, int y, int cx, int cy, UINT flags) override {
        return hWnd && ::SetWindowPos(hWnd, after, x, y, cx, cy, flags);
    }
    void Invalidate(HWND hWnd, bool erase) override {
        if (hWnd) ::InvalidateRect(hWnd, nullptr, erase);
    }
    LRESULT SendMessage(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) override {
        return hWnd ? ::SendMessageA(hWnd, message, wParam, lParam) : 0;
    }
    // For a dialog this is what DefDlgProc does with the messages the framework routes (system
    // commands, painting): it hands them to DefWindowProc.
    LRESULT DefWindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) override {
        return hWnd ? ::DefWindowProcA(hWnd, message, wParam, lParam) : 0;
    }
    HMENU GetSystemMenu(HWND hWnd, bool revert) override {
        return hWnd ? ::GetSystemMenu(hWnd, revert ? TRUE : FALSE) : nullptr;
    }
    bool IsIconic(HWND hWnd) override { return hWnd && ::IsIconic(hWnd); }
    bool DestroyWindow(HWND hWnd) override { return hWnd && ::DestroyWindow(hWnd); }

    // Windows.cpp
    bool ModifyStyle(HWND hWnd, DWORD dwRemove, DWORD dwAdd) override;
    CRect GetWindowRect(HWND hWnd) override;
    CRect GetClientRect(HWND hWnd) override;
    HICON SetIcon(HWND hWnd, HICON icon, bool big) override;
    void CenterWindow(HWND hWnd) override;
    std::unique_ptr<afx::PaintSession> BeginPaint(HWND hWnd) override;

    // Controls.cpp
    int ComboSelection(HWND hWnd) override;
    int ComboSelect(HWND hWnd, int index) override;
    int ComboInsert(HWND hWnd, int index, const char* text) override;
    int ComboItemHeight(HWND hWnd, int index) override;
    void ComboReset(HWND hWnd) override;
    HWND CreateToolTip(HWND hWndParent, DWORD dwStyle) override;
    bool AddTool(HWND hWndToolTip, HWND hWndTool, UINT nIDText) override;
    int SetMaxTipWidth(HWND hWndToolTip, int width) override;
    void ActivateToolTip(HWND hWndToolTip, bool activate) override;
    void RelayToolTipEvent(HWND hWndToolTip, MSG* pMsg) override;
    bool AppendMenu(HMENU hMenu, UINT nFlags, UINT_PTR nIDNewItem,
                    const char* lpszNewItem) override;

    bool SetTimer(HWND hWnd, UINT_PTR id, UINT ms) override {
        return hWnd && ::SetTimer(hWnd, id, ms, nullptr) != 0;
    }
    bool KillTimer(HWND hWnd, UINT_PTR id) override { return hWnd && ::KillTimer(hWnd, id); }

    // DeviceEvents.cpp
    std::unique_ptr<afx::DeviceNotification> NotifyPortDevices(HWND hWnd) override;
    bool IsPortDeviceChange(UINT event, LPARAM data) override;

    // ModalLoop.cpp
    bool RunModal(CDialog& dialog, HWND hWndOwner) override;
    void WakeModalLoop(HWND hDlg) override {
        if (hDlg) ::PostMessageA(hDlg, WM_NULL, 0, 0);
    }
    bool IsDialogMessage(HWND hDlg, MSG* pMsg) override;
    bool PeekMessage() override {
        MSG msg;
        return ::PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE) != FALSE;
    }
    bool PumpMessage() override;

    // System.cpp
    bool LoadString(UINT nID, std::string& text) override;
    HICON LoadIcon(UINT nID) override;
    int MessageBox(HWND hWndOwner, const char* text, const char* caption, UINT nType) override;
    int GetSystemMetrics(int nIndex) override { return ::GetSystemMetrics(nIndex); }
    void InitCommonControls() override;
};

// The module whose resources the program uses: the executable itself.
inline HINSTANCE ResourceModule() { return ::GetModuleHandleA(nullptr); }

}  // namespace afx_win32
