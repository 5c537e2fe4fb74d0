#include "afx/Wnd.h"

#include "afx/App.h"
#include "afx/Backend.h"
#include "afx/Exception.h"
#include "afx/HandleMap.h"
#include "afx/Menu.h"

namespace {

// The message whose handler is running, for Default().
struct CurrentMessage {
    HWND hWnd = nullptr;
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
};
CurrentMessage g_current;

class CurrentMessageScope {
public:
    explicit CurrentMessageScope(const CurrentMessage& message) : m_saved(g_current) {
        g_current = message;
    }
    ~CurrentMessageScope() { g_current = m_saved; }
    CurrentMessageScope(const CurrentMessageScope&) = delete;
    CurrentMessageScope& operator=(const CurrentMessageScope&) = delete;

private:
    CurrentMessage m_saved;
};

void ReportException(const std::exception& error) {
    AfxMessageBox(AfxExceptionText(error), MB_OK | MB_ICONEXCLAMATION);
}

}  // namespace

CWnd::~CWnd() {
    if (CWinApp* app = AfxGetApp(); app && app->m_pMainWnd == this) app->m_pMainWnd = nullptr;
    if (m_hWnd == nullptr) return;
    if (m_ownsWindow && afx::TheBackend().IsWindow(m_hWnd)) afx::TheBackend().DestroyWindow(m_hWnd);
    afx_detail::UnbindPermanent(m_hWnd, this);
}

CWnd* CWnd::FromHandlePermanent(HWND hWnd) { return afx_detail::LookupPermanent(hWnd); }

CWnd* CWnd::FromHandle(HWND hWnd) {
    if (hWnd == nullptr) return nullptr;
    if (CWnd* permanent = afx_detail::LookupPermanent(hWnd)) return permanent;
    return afx_detail::TemporaryFor(hWnd);
}

bool CWnd::Attach(HWND hWnd) {
    if (hWnd == nullptr || m_hWnd != nullptr) return false;
    m_hWnd = hWnd;
    afx_detail::BindPermanent(hWnd, this);
    return true;
}

HWND CWnd::Detach() {
    HWND hWnd = m_hWnd;
    if (hWnd != nullptr) afx_detail::UnbindPermanent(hWnd, this);
    m_hWnd = nullptr;
    m_ownsWindow = false;
    return hWnd;
}

CWnd* CWnd::GetDlgItem(int nID) const {
    return FromHandle(afx::TheBackend().GetDlgItem(m_hWnd, nID));
}
CWnd* CWnd::GetParent() const { return FromHandle(afx::TheBackend().GetParent(m_hWnd)); }

void CWnd::SetWindowText(const char* text) {
    afx::TheBackend().SetWindowText(m_hWnd, text ? text : "");
}
void CWnd::GetWindowText(CString& text) const {
    text = CString(afx::TheBackend().GetWindowText(m_hWnd));
}
bool CWnd::EnableWindow(bool enable) { return afx::TheBackend().EnableWindow(m_hWnd, enable); }
bool CWnd::IsWindowEnabled() const { return afx::TheBackend().IsWindowEnabled(m_hWnd); }
bool CWnd::IsWindowVisible() const { return afx::TheBackend().IsWindowVisible(m_hWnd); }
DWORD CWnd::GetStyle() const { return afx::TheBackend().GetStyle(m_hWnd); }

bool CWnd::ModifyStyle(DWORD dwRemove, DWORD dwAdd, UINT nFlags) {
    return afx::TheBackend().ModifyStyle(m_hWnd, dwRemove, dwAdd, nFlags);
}

bool CWnd::SetWindowPos(const CWnd* pWndInsertAfter, int x, int y, int cx, int cy, UINT nFlags) {
    HWND after = pWndInsertAfter ? pWndInsertAfter->m_hWnd : nullptr;
    return afx::TheBackend().SetWindowPos(m_hWnd, after, x, y, cx, cy, nFlags);
}

void CWnd::GetWindowRect(CRect* lpRect) const { *lpRect = afx::TheBackend().GetWindowRect(m_hWnd); }
void CWnd::GetClientRect(CRect* lpRect) const { *lpRect = afx::TheBackend().GetClientRect(m_hWnd); }

void CWnd::InvalidateRect(const CRect* lpRect, bool bErase) {
    afx::TheBackend().InvalidateRect(m_hWnd, lpRect, bErase);
}

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return afx::TheBackend().SendMessage(m_hWnd, message, wParam, lParam);
}

HICON CWnd::SetIcon(HICON hIcon, bool bBigIcon) {
    return afx::TheBackend().SetIcon(m_hWnd, hIcon, bBigIcon);
}

CMenu* CWnd::GetSystemMenu(bool bRevert) const {
    return CMenu::FromHandle(afx::TheBackend().GetSystemMenu(m_hWnd, bRevert));
}

bool CWnd::IsIconic() const { return afx::TheBackend().IsIconic(m_hWnd); }

void CWnd::CenterWindow(CWnd* pAlternateOwner) {
    HWND owner = pAlternateOwner ? pAlternateOwner->m_hWnd : afx::TheBackend().GetParent(m_hWnd);
    afx::TheBackend().CenterWindow(m_hWnd, owner);
}

bool CWnd::DestroyWindow() {
    if (m_hWnd == nullptr) return false;
    HWND hWnd = Detach();
    return afx::TheBackend().DestroyWindow(hWnd);
}

UINT_PTR CWnd::SetTimer(UINT_PTR nIDEvent, UINT nElapse) {
    return afx::TheBackend().SetTimer(m_hWnd, nIDEvent, nElapse) ? nIDEvent : 0;
}

bool CWnd::KillTimer(UINT_PTR nIDEvent) { return afx::TheBackend().KillTimer(m_hWnd, nIDEvent); }

LRESULT CWnd::Default() {
    return afx::TheBackend().DefWindowProc(g_current.hWnd, g_current.message, g_current.wParam,
                                           g_current.lParam);
}

bool CWnd::PreTranslateMessage(MSG*) { return false; }

bool CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    if (message == WM_COMMAND) {
        if (!OnCommand(wParam, lParam)) return false;
        *pResult = 0;
        return true;
    }
    return DispatchMessageMap({message, wParam, lParam}, pResult);
}

bool CWnd::OnCommand(WPARAM wParam, LPARAM) {
    return OnCmdMsg(AfxLoWord(wParam), AfxHiWord(wParam));
}

bool AfxCallWndProc(CWnd* pWnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    *pResult = 0;
    if (pWnd == nullptr) return false;
    CurrentMessageScope scope({pWnd->m_hWnd, message, wParam, lParam});
    try {
        return pWnd->OnWndMsg(message, wParam, lParam, pResult);
    } catch (const std::exception& error) {
        ReportException(error);
    } catch (...) {
        ReportException(std::runtime_error(""));
    }
    *pResult = 0;
    return true;
}

bool AfxWalkPreTranslateTree(HWND hWnd, MSG* pMsg) {
    CWnd* mainWnd = AfxGetMainWnd();
    HWND stop = mainWnd ? mainWnd->m_hWnd : nullptr;
    try {
        for (HWND h = hWnd; h != nullptr; h = afx::TheBackend().GetParent(h)) {
            CWnd* pWnd = CWnd::FromHandlePermanent(h);
            if (pWnd != nullptr && pWnd->PreTranslateMessage(pMsg)) return true;
            if (h == stop) break;
        }
    } catch (const std::exception& error) {
        ReportException(error);
        return true;
    }
    return false;
}
