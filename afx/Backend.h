#pragma once
// What a back end (afx/win32, afx/qt) provides: the window-system operations behind the portable
// classes. The dialog code never includes this header.
//
// Besides the functions below a back end defines:
//   - the program's entry point, which calls AfxWinMain(path of the executable);
//   - struct CPaintDC::State, CPaintDC::CPaintDC, CPaintDC::~CPaintDC and CDC::DrawIcon;
//   - message delivery: each message for a dialog goes through AfxCallWndProc (handled or not),
//     WM_INITDIALOG through CDialog::HandleInitDialog; messages taken from the queue are offered
//     to AfxWalkPreTranslateTree before dispatch.
// Handles are the back end's own (afx/Types.h); nullptr is "none" and every operation on a
// nullptr handle does nothing and returns 0/false/empty, as Win32 does for a null window.

#include <string>

#include "afx/Types.h"

class CDialog;

namespace afx_backend {

// Windows.
HWND GetDlgItem(HWND hDlg, int nID);
HWND GetParent(HWND hWnd);  // a child's parent, a top-level window's owner, or nullptr
bool IsWindow(HWND hWnd);
void SetWindowText(HWND hWnd, const char* text);
std::string GetWindowText(HWND hWnd);
bool EnableWindow(HWND hWnd, bool enable);  // true when the window was disabled before
bool IsWindowEnabled(HWND hWnd);
bool IsWindowVisible(HWND hWnd);
DWORD GetStyle(HWND hWnd);
bool ModifyStyle(HWND hWnd, DWORD dwRemove, DWORD dwAdd, UINT nFlags);
bool SetWindowPos(HWND hWnd, HWND hWndInsertAfter, int x, int y, int cx, int cy, UINT nFlags);
CRect GetWindowRect(HWND hWnd);
CRect GetClientRect(HWND hWnd);
void InvalidateRect(HWND hWnd, const CRect* rect, bool erase);
LRESULT SendMessage(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT DefWindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
HMENU GetSystemMenu(HWND hWnd, bool revert);
bool IsIconic(HWND hWnd);
// Centres hWnd over hWndOwner, or over the screen's work area when that is nullptr.
void CenterWindow(HWND hWnd, HWND hWndOwner);
bool DestroyWindow(HWND hWnd);

// Dialogs. RunModal creates dialog's window from its template (language by the user's UI
// language) with hWndOwner as owner; WM_INITDIALOG goes to dialog.HandleInitDialog. It then
// disables the owner, shows the dialog and processes messages until dialog.IsModalLoopDone()
// (or the quit message, which it leaves queued), re-enables and re-activates the owner and
// destroys the window. False when the window could not be created.
bool RunModal(CDialog& dialog, HWND hWndOwner);
// EndDialog was called: wake RunModal so it sees IsModalLoopDone().
void WakeModalLoop(HWND hDlg);
// The dialog's keyboard handling (Tab, Enter, Escape, access keys) for a queued message;
// true when it consumed the message.
bool IsDialogMessage(HWND hDlg, MSG* pMsg);

// The thread's messages. PumpMessage: as CWinThread::PumpMessage.
bool PeekMessage();
bool PumpMessage();
int RunMessageLoop();  // until the quit message; returns its exit code

// Controls that need window-system structures.
HWND CreateToolTip(HWND hWndParent, DWORD dwStyle);
bool AddTool(HWND hWndToolTip, HWND hWndTool, UINT nIDText);
bool AppendMenu(HMENU hMenu, UINT nFlags, UINT_PTR nIDNewItem, const char* lpszNewItem);

// Resources and the rest of the system.
bool LoadString(UINT nID, std::string& text);  // in the user's UI language
HICON LoadIcon(UINT nID);                       // shared; never destroyed
int MessageBox(HWND hWndOwner, const char* text, const char* caption, UINT nType);
int GetSystemMetrics(int nIndex);
void InitCommonControls();

}  // namespace afx_backend
