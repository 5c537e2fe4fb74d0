#pragma once
// The control classes of the dialog: each operation is the back end's of the same meaning
// (afx/Backend.h).

#include "afx/Wnd.h"

class CStatic : public CWnd {};

class CButton : public CWnd {};

class CComboBox : public CWnd {
public:
    int GetCurSel();
    int SetCurSel(int nSelect);
    int InsertString(int nIndex, const char* text);
    int GetItemHeight(int nIndex);
    void ResetContent();
};

class CToolTipCtrl : public CWnd {
public:
    // Creates the tooltip window, owned by pParentWnd; false when it cannot be created, and then
    // every later operation has no effect.
    bool Create(CWnd* pParentWnd, DWORD dwStyle = 0);
    // The whole window of pWnd (nIDTool 0, no rectangle) as a tool whose tip is string nIDText.
    bool AddTool(CWnd* pWnd, UINT nIDText, const CRect* lpRectTool = nullptr, UINT_PTR nIDTool = 0);

    int SetMaxTipWidth(int width);
    void Activate(bool bActivate);
    void RelayEvent(MSG* pMsg);
};
