#pragma once
// How Qt events become the messages the message maps expect: each goes to the window's bound
// object first and to the window system's default handling when no handler takes it, as a
// Win32 window procedure does.

#include <QPoint>

#include "afx/Types.h"

namespace afx::qt {

LRESULT Deliver(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);

// WM_COMMAND from a control of the dialog. A click on a control whose command is still being
// handled (its handler pumps messages) is dropped, so the handler never runs nested.
void DeliverCommand(HWND hDlg, int id, UINT code);

void DeliverSysCommand(HWND hDlg, UINT command);

// The dialog's system menu as its context menu, at globalPos.
void ShowSystemMenu(HWND hDlg, QPoint globalPos);

}  // namespace afx::qt
