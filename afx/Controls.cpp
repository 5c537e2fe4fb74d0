#include "afx/Controls.h"

#include "afx/App.h"
#include "afx/Backend.h"

bool CToolTipCtrl::Create(CWnd* pParentWnd, DWORD dwStyle) {
    if (m_hWnd != nullptr) return false;
    HWND hWnd = afx::TheBackend().CreateToolTip(pParentWnd ? pParentWnd->m_hWnd : nullptr, dwStyle);
    if (hWnd == nullptr || !Attach(hWnd)) return false;
    SetOwnsWindow();
    return true;
}

bool CToolTipCtrl::AddTool(CWnd* pWnd, UINT nIDText, const CRect* lpRectTool, UINT_PTR nIDTool) {
    // Only whole-window tools are supported; anything else is a caller's mistake.
    if (pWnd == nullptr || lpRectTool != nullptr || nIDTool != 0) AfxThrowInvalidArgException();
    if (m_hWnd == nullptr) return false;
    return afx::TheBackend().AddTool(m_hWnd, pWnd->m_hWnd, nIDText);
}

int CComboBox::GetCurSel() { return afx::TheBackend().ComboSelection(m_hWnd); }
int CComboBox::SetCurSel(int nSelect) { return afx::TheBackend().ComboSelect(m_hWnd, nSelect); }

int CComboBox::InsertString(int nIndex, const char* text) {
    return afx::TheBackend().ComboInsert(m_hWnd, nIndex, text ? text : "");
}

int CComboBox::GetItemHeight(int nIndex) {
    return afx::TheBackend().ComboItemHeight(m_hWnd, nIndex);
}

void CComboBox::ResetContent() { afx::TheBackend().ComboReset(m_hWnd); }

int CToolTipCtrl::SetMaxTipWidth(int width) {
    return afx::TheBackend().SetMaxTipWidth(m_hWnd, width);
}

void CToolTipCtrl::Activate(bool bActivate) {
    afx::TheBackend().ActivateToolTip(m_hWnd, bActivate);
}

void CToolTipCtrl::RelayEvent(MSG* pMsg) {
    if (pMsg != nullptr) afx::TheBackend().RelayToolTipEvent(m_hWnd, pMsg);
}
