// Dialog creation from the linked template and the thread's message loop.
#include "afx/win32/Win32Backend.h"

#include "afx/Dialog.h"

namespace {

INT_PTR CALLBACK DialogProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DPICHANGED) {
        // Moved onto a monitor of another scale (per-monitor awareness): take the rectangle the
        // system suggests. The dialog manager then scales the dialog's font and lays the controls
        // out again in the template's dialog units; the texts are fitted after that.
        const auto* r = reinterpret_cast<const RECT*>(lParam);
        if (r != nullptr && r->right > r->left && r->bottom > r->top)
            ::SetWindowPos(hWnd, nullptr, r->left, r->top, r->right - r->left, r->bottom - r->top,
                           SWP_NOZORDER | SWP_NOACTIVATE);
        ::PostMessageA(hWnd, afx_win32::WM_FIT_TEXTS, 0, 0);
        return FALSE;
    }
    if (message == afx_win32::WM_FIT_TEXTS) {
        afx_win32::FitTexts(hWnd);
        return TRUE;
    }
    if (message == WM_INITDIALOG) {
        // Before the dialog's own initialisation, which centres the dialog at its final size.
        afx_win32::FitTexts(hWnd);
        auto* dialog = reinterpret_cast<CDialog*>(lParam);
        return dialog->HandleInitDialog(hWnd) ? TRUE : FALSE;
    }
    CWnd* wnd = CWnd::FromHandlePermanent(hWnd);
    if (wnd == nullptr) return FALSE;  // before WM_INITDIALOG: DefDlgProc's business
    LRESULT result = 0;
    if (!AfxCallWndProc(wnd, message, wParam, lParam, &result)) return FALSE;
    // A dialog procedure returns the result of a few messages itself (of those the message maps
    // handle, WM_QUERYDRAGICON's); the rest go through DWLP_MSGRESULT.
    if (message == WM_QUERYDRAGICON) return static_cast<INT_PTR>(result);
    ::SetWindowLongPtrA(hWnd, DWLP_MSGRESULT, result);
    return TRUE;
}

}  // namespace

namespace afx_win32 {

bool Win32Backend::RunModal(CDialog& dialog, HWND hWndOwner) {
    HWND hWnd =
        ::CreateDialogParamA(afx_win32::ResourceModule(), MAKEINTRESOURCEA(dialog.GetTemplateId()),
                             hWndOwner, DialogProc, reinterpret_cast<LPARAM>(&dialog));
    if (hWnd == nullptr) return false;
    const bool reenableOwner = hWndOwner && ::IsWindowEnabled(hWndOwner);
    if (reenableOwner) ::EnableWindow(hWndOwner, FALSE);
    if (!dialog.IsModalLoopDone()) ::ShowWindow(hWnd, SW_SHOWNORMAL);
    while (!dialog.IsModalLoopDone() && PumpMessage()) {
    }
    // Enable and activate the owner before the dialog goes, so activation does not jump to
    // another program's window.
    if (reenableOwner) ::EnableWindow(hWndOwner, TRUE);
    if (hWndOwner && ::GetActiveWindow() == hWnd) ::SetActiveWindow(hWndOwner);
    ::SetWindowPos(hWnd, nullptr, 0, 0, 0, 0,
                   SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOZORDER);
    ::DestroyWindow(hWnd);
    return true;
}

void Win32Backend::WakeModalLoop(HWND hDlg) {
    if (hDlg) ::PostMessageA(hDlg, WM_NULL, 0, 0);
}

// Keyboard and mouse input only: the dialog's keyboard handling has nothing to do with the rest.
bool Win32Backend::IsDialogMessage(HWND hDlg, MSG* pMsg) {
    if (!hDlg || !pMsg) return false;
    const UINT m = pMsg->message;
    return ((m >= WM_KEYFIRST && m <= WM_KEYLAST) || (m >= WM_MOUSEFIRST && m <= WM_MOUSELAST)) &&
           ::IsDialogMessageA(hDlg, pMsg);
}

bool Win32Backend::PeekMessage() {
    MSG msg;
    return ::PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE) != FALSE;
}

bool Win32Backend::PumpMessage() {
    MSG msg;
    const BOOL got = ::GetMessageA(&msg, nullptr, 0, 0);
    if (got == 0) {
        // Leave the quit message for the outermost loop.
        ::PostQuitMessage(static_cast<int>(msg.wParam));
        return false;
    }
    if (got == -1) return false;
    if (!AfxWalkPreTranslateTree(msg.hwnd, &msg)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
    return true;
}

}  // namespace afx_win32
