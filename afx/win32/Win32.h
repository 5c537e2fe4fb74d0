#pragma once
// windows.h for the Win32 back end. The framework's own names (CWnd::SendMessage,
// afx_backend::LoadString, ...) collide with windows.h's A/W selection macros; they are removed
// here, and the back end calls the ANSI functions by their full names.

#include <windows.h>
#include <commctrl.h>

#undef AppendMenu
#undef DefWindowProc
#undef GetWindowText
#undef IsDialogMessage
#undef LoadIcon
#undef LoadString
#undef MessageBox
#undef PeekMessage
#undef SendMessage
#undef SetWindowText

#include "afx/Backend.h"

namespace afx_win32 {

// The module whose resources the program uses: the executable itself.
inline HINSTANCE ResourceModule() { return ::GetModuleHandleA(nullptr); }

inline RECT ToRect(const CRect& rect) { return RECT{rect.left, rect.top, rect.right, rect.bottom}; }
inline CRect FromRect(const RECT& rect) {
    return CRect(static_cast<int>(rect.left), static_cast<int>(rect.top),
                 static_cast<int>(rect.right), static_cast<int>(rect.bottom));
}

}  // namespace afx_win32
