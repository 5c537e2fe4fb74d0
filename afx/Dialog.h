#pragma once
// Dialogs made from the linked dialog templates, and the binding of their controls to members.
//
// Portable: control binding, the command map (IDOK, IDCANCEL, WM_HELP), initialisation and the
// modal loop's bookkeeping. The back end creates the window from the template and runs the loop
// (afx/Backend.h), calling CDialog::HandleInitDialog for WM_INITDIALOG and AfxCallWndProc for the
// rest.

#include "afx/Wnd.h"

class CDialog;

// Controls are the only data exchanged: there is nothing to save or validate.
class CDataExchange {
public:
    CDataExchange(CDialog* pDlgWnd, bool /*bSaveAndValidate*/) : m_pDlgWnd(pDlgWnd) {}
    CDialog* m_pDlgWnd;
};

// Binds the dialog's control nIDC to rControl, once; a missing control is an invalid argument.
void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl);

class CDialog : public CWnd {
public:
    // pParentWnd nullptr: the application's main window (if any, and not this dialog) owns it.
    explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr);

    // Creates the window from the template, disables the owner, runs a message loop until
    // EndDialog, destroys the window and returns the end code (-1 when it cannot be created).
    virtual INT_PTR DoModal();
    void EndDialog(int nResult);

    // Runs DoDataExchange; returns true so the window system focuses the first tab stop.
    virtual bool OnInitDialog();
    bool PreTranslateMessage(MSG* pMsg) override;
    bool OnCmdMsg(UINT nID, UINT nCode) override;

    UINT GetTemplateId() const { return m_nIDTemplate; }
    // For the back end: WM_INITDIALOG arrived for hWnd. Binds it, runs OnInitDialog (exceptions
    // reported) and centres the dialog unless OnInitDialog moved it. Returns OnInitDialog's result.
    bool HandleInitDialog(HWND hWnd);
    bool IsModalLoopDone() const { return m_endModal; }

protected:
    virtual void DoDataExchange(CDataExchange* pDX);
    virtual void OnOK();
    virtual void OnCancel();
    void OnPaint();
    LRESULT OnHelpInfo(WPARAM, LPARAM);
    LRESULT OnInitDialogMessage(WPARAM, LPARAM);

    DECLARE_MESSAGE_MAP()

private:
    UINT m_nIDTemplate;
    CWnd* m_pParentWnd;
    bool m_endModal = false;
    int m_nModalResult = -1;
};
