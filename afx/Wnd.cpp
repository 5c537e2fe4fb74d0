#include "afx/Wnd.h"

#include <map>
#include <unordered_map>

#include "afx/App.h"
#include "afx/Backend.h"

namespace {

// Which object each window handle is bound to.
std::unordered_map<HWND, CWnd*>& Bound() {
    static std::unordered_map<HWND, CWnd*> map;
    return map;
}

void Unbind(HWND hWnd, const CWnd* pWnd) {
    const auto found = Bound().find(hWnd);
    if (found != Bound().end() && found->second == pWnd) Bound().erase(found);
}

// The message whose handler is running, for Default().
struct CurrentMessage {
    HWND hWnd = nullptr;
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
};
CurrentMessage g_current;

void ReportException(const std::exception& error) {
    AfxMessageBox(AfxExceptionText(error), MB_OK | MB_ICONEXCLAMATION);
}

}  // namespace

CWnd::~CWnd() {
    if (CWinApp* app = AfxGetApp(); app && app->m_pMainWnd == this) app->m_pMainWnd = nullptr;
    if (m_hWnd == nullptr) return;
    if (m_ownsWindow && afx::TheBackend().IsWindow(m_hWnd)) afx::TheBackend().DestroyWindow(m_hWnd);
    Unbind(m_hWnd, this);
}

CWnd* CWnd::FromHandlePermanent(HWND hWnd) {
    const auto found = Bound().find(hWnd);
    return found == Bound().end() ? nullptr : found->second;
}

bool CWnd::Attach(HWND hWnd) {
    if (hWnd == nullptr || m_hWnd != nullptr) return false;
    m_hWnd = hWnd;
    Bound()[hWnd] = this;
    return true;
}

void CWnd::UnbindDestroyed() {
    for (auto it = Bound().begin(); it != Bound().end();) {
        if (afx::TheBackend().IsWindow(it->first)) {
            ++it;
        } else {
            it->second->m_hWnd = nullptr;
            it = Bound().erase(it);
        }
    }
}

void CWnd::SetWindowText(const char* text) {
    afx::TheBackend().SetWindowText(m_hWnd, text ? text : "");
}

bool CWnd::EnableWindow(bool enable) { return afx::TheBackend().EnableWindow(m_hWnd, enable); }
bool CWnd::ModifyStyle(DWORD dwRemove, DWORD dwAdd) {
    return afx::TheBackend().ModifyStyle(m_hWnd, dwRemove, dwAdd);
}

bool CWnd::SetWindowPos(const CWnd* pWndInsertAfter, int x, int y, int cx, int cy, UINT nFlags) {
    HWND after = pWndInsertAfter ? pWndInsertAfter->m_hWnd : nullptr;
    return afx::TheBackend().SetWindowPos(m_hWnd, after, x, y, cx, cy, nFlags);
}

void CWnd::GetWindowRect(CRect* lpRect) const { *lpRect = afx::TheBackend().GetWindowRect(m_hWnd); }
void CWnd::GetClientRect(CRect* lpRect) const { *lpRect = afx::TheBackend().GetClientRect(m_hWnd); }

void CWnd::InvalidateRect(const CRect* lpRect, bool bErase) {
    if (lpRect != nullptr) AfxThrowInvalidArgException();
    afx::TheBackend().Invalidate(m_hWnd, bErase);
}

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return afx::TheBackend().SendMessage(m_hWnd, message, wParam, lParam);
}

HICON CWnd::SetIcon(HICON hIcon, bool bBigIcon) {
    return afx::TheBackend().SetIcon(m_hWnd, hIcon, bBigIcon);
}

CMenu* CWnd::GetSystemMenu(bool bRevert) const {
    const HMENU hMenu = afx::TheBackend().GetSystemMenu(m_hWnd, bRevert);
    if (hMenu == nullptr) return nullptr;
    static std::map<HMENU, CMenu> objects;
    return &objects.try_emplace(hMenu, CMenu{hMenu}).first->second;
}

bool CMenu::AppendMenu(UINT nFlags, UINT_PTR nIDNewItem, const char* lpszNewItem) {
    return afx::TheBackend().AppendMenu(m_hMenu, nFlags, nIDNewItem, lpszNewItem);
}

bool CWnd::IsIconic() const { return afx::TheBackend().IsIconic(m_hWnd); }

bool CWnd::DestroyWindow() {
    const HWND hWnd = m_hWnd;
    if (hWnd == nullptr) return false;
    Unbind(hWnd, this);
    m_hWnd = nullptr;
    m_ownsWindow = false;
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

CDeviceNotification::CDeviceNotification() = default;
CDeviceNotification::~CDeviceNotification() = default;

bool CDeviceNotification::Start(CWnd* pWnd) {
    m_registration.reset();
    if (pWnd == nullptr || pWnd->m_hWnd == nullptr) return false;
    m_registration = afx::TheBackend().NotifyPortDevices(pWnd->m_hWnd);
    return m_registration != nullptr;
}

bool AfxIsPortDeviceChange(UINT nEventType, LPARAM dwData) {
    return afx::TheBackend().IsPortDeviceChange(nEventType, dwData);
}

CPaintDC::CPaintDC(CWnd* pWnd) {
    if (pWnd != nullptr && pWnd->m_hWnd != nullptr)
        m_session = afx::TheBackend().BeginPaint(pWnd->m_hWnd);
}

CPaintDC::~CPaintDC() = default;

HDC CPaintDC::GetSafeHdc() const { return m_session != nullptr ? m_session->Hdc() : nullptr; }

bool CPaintDC::DrawIcon(int x, int y, HICON hIcon) {
    return m_session != nullptr && hIcon != nullptr && m_session->DrawIcon(x, y, hIcon);
}

bool AfxCallWndProc(CWnd* pWnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    *pResult = 0;
    if (pWnd == nullptr) return false;
    const CurrentMessage outer = g_current;
    g_current = {pWnd->m_hWnd, message, wParam, lParam};
    bool handled = true;
    try {
        handled = message == WM_COMMAND
                      ? pWnd->OnCmdMsg(AfxLoWord(wParam), AfxHiWord(wParam))
                      : pWnd->DispatchMessageMap({message, wParam, lParam}, pResult);
    } catch (const std::exception& error) {
        ReportException(error);
    } catch (...) {
        ReportException(std::runtime_error(""));
    }
    g_current = outer;
    return handled;
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
