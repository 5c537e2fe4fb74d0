#include "tests/afx/FakeBackend.h"

#include "afx/Dialog.h"
#include "afx/PaintDC.h"

FakeSystem& FakeSystem::Get() {
    static FakeSystem system;
    return system;
}

void FakeSystem::Reset() { *this = FakeSystem(); }

HWND FakeSystem::Create(HWND parent, int id, DWORD style) {
    HWND hWnd = reinterpret_cast<HWND>(m_next++);
    FakeWindow& window = windows[hWnd];
    window.parent = parent;
    window.id = id;
    window.style = style;
    return hWnd;
}

FakeWindow* FakeSystem::Find(HWND hWnd) {
    auto found = windows.find(hWnd);
    return found == windows.end() ? nullptr : &found->second;
}

HWND FakeSystem::Child(HWND parent, int id) {
    for (auto& [hWnd, window] : windows) {
        if (window.parent == parent && window.id == id) return hWnd;
    }
    return nullptr;
}

namespace {
FakeSystem& Sys() { return FakeSystem::Get(); }
}  // namespace

namespace afx_backend {

HWND GetDlgItem(HWND hDlg, int nID) { return hDlg ? Sys().Child(hDlg, nID) : nullptr; }
HWND GetParent(HWND hWnd) {
    FakeWindow* w = Sys().Find(hWnd);
    return w ? w->parent : nullptr;
}
bool IsWindow(HWND hWnd) { return Sys().Find(hWnd) != nullptr; }
void SetWindowText(HWND hWnd, const char* text) {
    if (FakeWindow* w = Sys().Find(hWnd)) w->text = text;
}
std::string GetWindowText(HWND hWnd) {
    FakeWindow* w = Sys().Find(hWnd);
    return w ? w->text : std::string();
}
bool EnableWindow(HWND hWnd, bool enable) {
    FakeWindow* w = Sys().Find(hWnd);
    if (!w) return false;
    const bool wasDisabled = !w->enabled;
    w->enabled = enable;
    return wasDisabled;
}
bool IsWindowEnabled(HWND hWnd) {
    FakeWindow* w = Sys().Find(hWnd);
    return w && w->enabled;
}
bool IsWindowVisible(HWND hWnd) {
    FakeWindow* w = Sys().Find(hWnd);
    return w && (w->style & WS_VISIBLE);
}
DWORD GetStyle(HWND hWnd) {
    FakeWindow* w = Sys().Find(hWnd);
    return w ? w->style : 0;
}
bool ModifyStyle(HWND hWnd, DWORD dwRemove, DWORD dwAdd, UINT) {
    FakeWindow* w = Sys().Find(hWnd);
    if (!w) return false;
    const DWORD before = w->style;
    w->style = (w->style & ~dwRemove) | dwAdd;
    return before != w->style;
}
bool SetWindowPos(HWND hWnd, HWND, int x, int y, int cx, int cy, UINT nFlags) {
    FakeWindow* w = Sys().Find(hWnd);
    if (!w) return false;
    CRect& r = w->window;
    if (!(nFlags & SWP_NOMOVE)) r = CRect(x, y, x + r.Width(), y + r.Height());
    if (!(nFlags & SWP_NOSIZE)) r = CRect(r.left, r.top, r.left + cx, r.top + cy);
    return true;
}
CRect GetWindowRect(HWND hWnd) {
    FakeWindow* w = Sys().Find(hWnd);
    return w ? w->window : CRect();
}
CRect GetClientRect(HWND hWnd) {
    FakeWindow* w = Sys().Find(hWnd);
    return w ? w->client : CRect();
}
void InvalidateRect(HWND, const CRect*, bool) {}

LRESULT SendMessage(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    FakeWindow* w = Sys().Find(hWnd);
    if (!w) return 0;
    Sys().sent.push_back({hWnd, message, wParam, lParam});
    switch (message) {
    case CB_GETCOUNT: return static_cast<LRESULT>(w->items.size());
    case CB_GETCURSEL: return w->curSel;
    case CB_SETCURSEL:
        w->curSel = static_cast<int>(wParam) < static_cast<int>(w->items.size())
                        ? static_cast<int>(wParam) : CB_ERR;
        return w->curSel;
    case CB_INSERTSTRING: {
        const auto index = static_cast<std::size_t>(wParam);
        if (index > w->items.size()) return CB_ERR;
        w->items.insert(w->items.begin() + static_cast<std::ptrdiff_t>(index),
                        reinterpret_cast<const char*>(lParam));
        return static_cast<LRESULT>(index);
    }
    case CB_GETITEMHEIGHT: return w->itemHeight;
    case WM_SETICON: w->icons[wParam] = lParam; return 0;
    default: {
        // Like a window procedure: the bound object's message map sees the message.
        LRESULT result = 0;
        if (CWnd* target = CWnd::FromHandlePermanent(hWnd)) {
            AfxCallWndProc(target, message, wParam, lParam, &result);
        }
        return result;
    }
    }
}

LRESULT DefWindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Sys().defaulted.push_back({hWnd, message, wParam, lParam});
    return 0;
}

HMENU GetSystemMenu(HWND hWnd, bool) { return IsWindow(hWnd) ? Sys().systemMenu : nullptr; }
bool IsIconic(HWND hWnd) {
    FakeWindow* w = Sys().Find(hWnd);
    return w && w->iconic;
}
void CenterWindow(HWND hWnd, HWND) { Sys().centred.push_back(hWnd); }
bool DestroyWindow(HWND hWnd) {
    if (!Sys().Find(hWnd)) return false;
    for (auto it = Sys().windows.begin(); it != Sys().windows.end();) {
        it = (it->first == hWnd || it->second.parent == hWnd) ? Sys().windows.erase(it) : std::next(it);
    }
    return true;
}

bool RunModal(CDialog& dialog, HWND hWndOwner) {
    FakeSystem& sys = Sys();
    sys.modalRuns.emplace_back(dialog.GetTemplateId(), hWndOwner);
    HWND hDlg = sys.Create(hWndOwner, 0, 0);
    for (int id : sys.templates[dialog.GetTemplateId()]) sys.Create(hDlg, id);
    dialog.HandleInitDialog(hDlg);
    if (sys.whileModal && !dialog.IsModalLoopDone()) {
        auto script = std::move(sys.whileModal);  // nested dialogs run no script
        script(dialog);
    }
    DestroyWindow(hDlg);
    return true;
}

void WakeModalLoop(HWND) {}
bool IsDialogMessage(HWND, MSG*) { return false; }
bool PeekMessage() { return false; }
bool PumpMessage() { return false; }
int RunMessageLoop() { return 0; }

HWND CreateToolTip(HWND hWndParent, DWORD) { return Sys().Create(hWndParent, 0, 0); }
bool AddTool(HWND, HWND hWndTool, UINT nIDText) {
    Sys().tools.emplace_back(hWndTool, nIDText);
    return true;
}
bool AppendMenu(HMENU hMenu, UINT nFlags, UINT_PTR, const char* lpszNewItem) {
    if (!hMenu) return false;
    Sys().menuItems.emplace_back(nFlags, lpszNewItem ? lpszNewItem : "");
    return true;
}

bool LoadString(UINT nID, std::string& text) {
    auto found = Sys().strings.find(nID);
    if (found == Sys().strings.end()) return false;
    text = found->second;
    return true;
}
HICON LoadIcon(UINT nID) { return reinterpret_cast<HICON>(static_cast<std::uintptr_t>(0x9000 + nID)); }
int MessageBox(HWND, const char* text, const char* caption, UINT nType) {
    Sys().boxes.push_back({text, caption, nType});
    return IDOK;
}
int GetSystemMetrics(int nIndex) { return nIndex == SM_CXICON || nIndex == SM_CYICON ? 32 : 0; }
void InitCommonControls() {}

}  // namespace afx_backend

struct CPaintDC::State {};

CPaintDC::CPaintDC(CWnd*) : m_state(std::make_unique<State>()) {
    m_hDC = reinterpret_cast<HDC>(static_cast<std::uintptr_t>(0x7000));
}
CPaintDC::~CPaintDC() = default;

bool CDC::DrawIcon(int x, int y, HICON) {
    FakeSystem::Get().drawnIcons.emplace_back(x, y);
    return true;
}
