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
    // Windows.cpp
    HWND GetDlgItem(HWND hDlg, int nID) override;
    HWND GetParent(HWND hWnd) override;
    bool IsWindow(HWND hWnd) override;
    void SetWindowText(HWND hWnd, const char* text) override;
    bool EnableWindow(HWND hWnd, bool enable) override;
    bool ModifyStyle(HWND hWnd, DWORD dwRemove, DWORD dwAdd) override;
    bool SetWindowPos(HWND hWnd, HWND hWndInsertAfter, int x, int y, int cx, int cy,
                      UINT nFlags) override;
    CRect GetWindowRect(HWND hWnd) override;
    CRect GetClientRect(HWND hWnd) override;
    void Invalidate(HWND hWnd, bool erase) override;
    LRESULT SendMessage(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) override;
    LRESULT DefWindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) override;
    HICON SetIcon(HWND hWnd, HICON icon, bool big) override;
    HMENU GetSystemMenu(HWND hWnd, bool revert) override;
    bool IsIconic(HWND hWnd) override;
    void CenterWindow(HWND hWnd) override;
    bool DestroyWindow(HWND hWnd) override;
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

    // DeviceEvents.cpp
    bool SetTimer(HWND hWnd, UINT_PTR id, UINT ms) override;
    bool KillTimer(HWND hWnd, UINT_PTR id) override;
    std::unique_ptr<afx::DeviceNotification> NotifyPortDevices(HWND hWnd) override;
    bool IsPortDeviceChange(UINT event, LPARAM data) override;

    // ModalLoop.cpp
    bool RunModal(CDialog& dialog, HWND hWndOwner) override;
    void WakeModalLoop(HWND hDlg) override;
    bool IsDialogMessage(HWND hDlg, MSG* pMsg) override;
    bool PeekMessage() override;
    bool PumpMessage() override;

    // System.cpp
    bool LoadString(UINT nID, std::string& text) override;
    HICON LoadIcon(UINT nID) override;
    int MessageBox(HWND hWndOwner, const char* text, const char* caption, UINT nType) override;
    int GetSystemMetrics(int nIndex) override;
    void InitCommonControls() override;
};

// Widens the columns of labels whose text the dialog's font does not fit (FitTexts.cpp).
void FitTexts(HWND hDlg);
// Posted to a dialog to fit its texts again once a change of dpi has been laid out.
constexpr UINT WM_FIT_TEXTS = WM_APP;

// The module whose resources the program uses: the executable itself.
inline HINSTANCE ResourceModule() { return ::GetModuleHandleA(nullptr); }

inline CRect FromRect(const RECT& rect) {
    return CRect(static_cast<int>(rect.left), static_cast<int>(rect.top),
                 static_cast<int>(rect.right), static_cast<int>(rect.bottom));
}

}  // namespace afx_win32
