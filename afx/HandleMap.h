#pragma once
// Which object each window and menu handle is bound to. One user-interface thread: no locking.

#include "afx/Types.h"

class CWnd;

namespace afx_detail {

CWnd* LookupPermanent(HWND hWnd);
void BindPermanent(HWND hWnd, CWnd* pWnd);
// Removes the binding if it is pWnd's.
void UnbindPermanent(HWND hWnd, const CWnd* pWnd);
// Unbinds every object whose window no longer exists (after a dialog's window is destroyed).
void UnbindDestroyed();
// A non-owning object for a handle no object is bound to; kept for the program's life.
CWnd* TemporaryFor(HWND hWnd);

}  // namespace afx_detail
