#include "afx/Controls.h"

#include "afx/Backend.h"
#include "afx/Exception.h"

bool CToolTipCtrl::Create(CWnd* pParentWnd, DWORD dwStyle) {
    if (m_hWnd != nullptr) return false;
    HWND hWnd = afx_backend::CreateToolTip(pParentWnd ? pParentWnd->m_hWnd : nullptr, dwStyle);
    if (hWnd == nullptr || !Attach(hWnd)) return false;
    SetOwnsWindow();
    return true;
}

bool CToolTipCtrl::AddTool(CWnd* pWnd, UINT nIDText, const CRect* lpRectTool, UINT_PTR nIDTool) {
    // Only whole-window tools are supported; anything else is a caller's mistake.
    if (pWnd == nullptr || lpRectTool != nullptr || nIDTool != 0) AfxThrowInvalidArgException();
    if (m_hWnd == nullptr) return false;
    return afx_backend::AddTool(m_hWnd, pWnd->m_hWnd, nIDText);
}
