#include "afx/Dialog.h"

#include "afx/App.h"
#include "afx/Backend.h"

void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl) {
    if (rControl.m_hWnd != nullptr) return;  // bound by an earlier exchange
    HWND hWndCtrl = afx::TheBackend().GetDlgItem(pDX->m_pDlgWnd->m_hWnd, nIDC);
    if (hWndCtrl == nullptr || !rControl.Attach(hWndCtrl)) AfxThrowInvalidArgException();
}

BEGIN_MESSAGE_MAP(CDialog, CWnd)
ON_COMMAND(IDOK, &CDialog::OnOK)
ON_COMMAND(IDCANCEL, &CDialog::OnCancel)
ON_MESSAGE(WM_HELP, &CDialog::OnHelpInfo)
ON_MESSAGE(WM_INITDIALOG, &CDialog::OnInitDialogMessage)
END_MESSAGE_MAP()

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd)
    : m_nIDTemplate(nIDTemplate), m_pParentWnd(pParentWnd) {}

INT_PTR CDialog::DoModal() {
    HWND owner = m_pParentWnd ? m_pParentWnd->m_hWnd : nullptr;
    if (owner == nullptr) {
        CWnd* mainWnd = AfxGetMainWnd();
        if (mainWnd != nullptr && mainWnd != this) owner = mainWnd->m_hWnd;
    }
    m_endModal = false;
    m_nModalResult = -1;
    const bool created = afx::TheBackend().RunModal(*this, owner);
    // The window and its controls are gone: no object may keep their handles.
    UnbindDestroyed();
    return created ? m_nModalResult : -1;
}

void CDialog::EndDialog(int nResult) {
    m_nModalResult = nResult;
    m_endModal = true;
    afx::TheBackend().WakeModalLoop(m_hWnd);
}

bool CDialog::HandleInitDialog(HWND hWnd) {
    if (m_hWnd == nullptr) Attach(hWnd);
    const CRect before = afx::TheBackend().GetWindowRect(hWnd);
    // OnInitDialog runs as a message handler: its exceptions are reported, not propagated.
    LRESULT result = TRUE;
    AfxCallWndProc(this, WM_INITDIALOG, 0, 0, &result);
    if (afx::TheBackend().IsWindow(hWnd) && afx::TheBackend().GetWindowRect(hWnd) == before)
        afx::TheBackend().CenterWindow(hWnd);
    return result != FALSE;
}

LRESULT CDialog::OnInitDialogMessage(WPARAM, LPARAM) { return OnInitDialog() ? TRUE : FALSE; }

bool CDialog::OnInitDialog() {
    CDataExchange dx(this, false);
    DoDataExchange(&dx);
    return true;
}

bool CDialog::PreTranslateMessage(MSG* pMsg) {
    return m_hWnd != nullptr && afx::TheBackend().IsDialogMessage(m_hWnd, pMsg);
}

bool CDialog::OnCmdMsg(UINT nID, UINT nCode) {
    if (CWnd::OnCmdMsg(nID, nCode)) return true;
    // Commands the dialog does not handle go to the application (ID_HELP).
    CWinApp* app = AfxGetApp();
    return app != nullptr && app->OnCmdMsg(nID, nCode);
}

void CDialog::DoDataExchange(CDataExchange*) {}
void CDialog::OnOK() { EndDialog(IDOK); }
void CDialog::OnCancel() { EndDialog(IDCANCEL); }
void CDialog::OnPaint() { Default(); }

LRESULT CDialog::OnHelpInfo(WPARAM, LPARAM) {
    if (CWnd* mainWnd = AfxGetMainWnd()) mainWnd->SendMessage(WM_COMMAND, ID_HELP);
    return TRUE;
}
