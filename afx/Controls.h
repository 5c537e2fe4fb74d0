#pragma once
// The control classes of the dialog. Combo-box and tooltip operations are messages, as on Windows:
// a back end answers CB_ and TTM_ messages in its SendMessage. Creating a tooltip and registering
// a tool need structures of the window system, so those two are back-end calls (afx/Backend.h).

#include "afx/Wnd.h"

class CStatic : public CWnd {};

class CButton : public CWnd {};

class CComboBox : public CWnd {
public:
    int GetCount() { return static_cast<int>(SendMessage(CB_GETCOUNT)); }
    // Selected index, or CB_ERR (negative) when nothing is selected.
    int GetCurSel() { return static_cast<int>(SendMessage(CB_GETCURSEL)); }
    int SetCurSel(int nSelect) {
        return static_cast<int>(SendMessage(CB_SETCURSEL, static_cast<WPARAM>(nSelect)));
    }
    // Inserts at nIndex, never sorting, whatever the list's sort style.
    int InsertString(int nIndex, const char* text) {
        return static_cast<int>(SendMessage(CB_INSERTSTRING, static_cast<WPARAM>(nIndex),
                                            reinterpret_cast<LPARAM>(text)));
    }
    // nIndex -1: the selection field.
    int GetItemHeight(int nIndex) {
        return static_cast<int>(SendMessage(CB_GETITEMHEIGHT, static_cast<WPARAM>(nIndex)));
    }
};

class CToolTipCtrl : public CWnd {
public:
    // Creates the tooltip window, owned by pParentWnd; false when it cannot be created, and then
    // every later operation has no effect.
    bool Create(CWnd* pParentWnd, DWORD dwStyle = 0);
    // Registers the whole window of pWnd (nIDTool 0, no rectangle) as a tool whose tip is string
    // nIDText, fetched by the tooltip in the user's language when it shows.
    bool AddTool(CWnd* pWnd, UINT nIDText, const CRect* lpRectTool = nullptr, UINT_PTR nIDTool = 0);

    int SetMaxTipWidth(int width) {
        return static_cast<int>(SendMessage(TTM_SETMAXTIPWIDTH, 0, width));
    }
    void Activate(bool bActivate) { SendMessage(TTM_ACTIVATE, bActivate ? TRUE : FALSE); }
    void RelayEvent(MSG* pMsg) { SendMessage(TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(pMsg)); }
};
