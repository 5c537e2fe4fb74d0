#include "tests/afx/FakeBackend.h"

#include <algorithm>

#include "afx/Dialog.h"
#include "afx/Wnd.h"

FakeSystem& FakeSystem::Get() {
    static FakeSystem system;
    return system;
}

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

class FakePaintSession : public afx::PaintSession {
public:
    HDC Hdc() const override { return reinterpret_cast<HDC>(static_cast<std::uintptr_t>(0x7000)); }
    bool DrawIcon(int x, int y, HICON) override {
        Sys().drawnIcons.emplace_back(x, y);
        return true;
    }
};

class FakeBackend : public afx::Backend {
public:
    HWND GetDlgItem(HWND hDlg, int nID) override { return hDlg ? Sys().Child(hDlg, nID) : nullptr; }
    HWND GetParent(HWND hWnd) override {
        FakeWindow* w = Sys().Find(hWnd);
        return w ? w->parent : nullptr;
    }
    bool IsWindow(HWND hWnd) override { return Sys().Find(hWnd) != nullptr; }
    void SetWindowText(HWND hWnd, const char* text) override {
        if (FakeWindow* w = Sys().Find(hWnd)) w->text = text;
    }
    bool EnableWindow(HWND hWnd, bool enable) override {
        FakeWindow* w = Sys().Find(hWnd);
        if (!w) return false;
        const bool wasDisabled = !w->enabled;
        w->enabled = enable;
        return wasDisabled;
    }
    bool ModifyStyle(HWND hWnd, DWORD dwRemove, DWORD dwAdd) override {
        FakeWindow* w = Sys().Find(hWnd);
        if (!w) return false;
        const DWORD before = w->style;
        w->style = (w->style & ~dwRemove) | dwAdd;
        return before != w->style;
    }
    bool SetWindowPos(HWND hWnd, HWND, int x, int y, int cx, int cy, UINT nFlags) override {
        FakeWindow* w = Sys().Find(hWnd);
        if (!w) return false;
        CRect& r = w->window;
        if (!(nFlags & SWP_NOMOVE)) r = CRect(x, y, x + r.Width(), y + r.Height());
        if (!(nFlags & SWP_NOSIZE)) r = CRect(r.left, r.top, r.left + cx, r.top + cy);
        return true;
    }
    CRect GetWindowRect(HWND hWnd) override {
        FakeWindow* w = Sys().Find(hWnd);
        return w ? w->window : CRect();
    }
    CRect GetClientRect(HWND hWnd) override {
        FakeWindow* w = Sys().Find(hWnd);
        return w ? w->client : CRect();
    }
    void Invalidate(HWND, bool) override {}
    LRESULT SendMessage(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) override {
        if (!Sys().Find(hWnd)) return 0;
        Sys().sent.push_back({hWnd, message, wParam, lParam});
        return afx::RouteMessage(*this, hWnd, message, wParam, lParam);
    }
    LRESULT DefWindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) override {
        Sys().defaulted.push_back({hWnd, message, wParam, lParam});
        return 0;
    }
    HICON SetIcon(HWND hWnd, HICON icon, bool big) override {
        FakeWindow* w = Sys().Find(hWnd);
        if (!w) return nullptr;
        const HICON previous = w->icons[big];
        w->icons[big] = icon;
        return previous;
    }
    HMENU GetSystemMenu(HWND hWnd, bool) override {
        return IsWindow(hWnd) ? Sys().systemMenu : nullptr;
    }
    bool AppendMenu(HMENU hMenu, UINT nFlags, UINT_PTR, const char* lpszNewItem) override {
        if (!hMenu) return false;
        Sys().menuItems.emplace_back(nFlags, lpszNewItem ? lpszNewItem : "");
        return true;
    }
    bool IsIconic(HWND hWnd) override {
        FakeWindow* w = Sys().Find(hWnd);
        return w && w->iconic;
    }
    void CenterWindow(HWND hWnd) override { Sys().centred.push_back(hWnd); }
    bool DestroyWindow(HWND hWnd) override {
        if (!Sys().Find(hWnd)) return false;
        for (auto it = Sys().timers.begin(); it != Sys().timers.end();)
            it = it->first.first == hWnd ? Sys().timers.erase(it) : std::next(it);
        for (auto it = Sys().windows.begin(); it != Sys().windows.end();) {
            it = (it->first == hWnd || it->second.parent == hWnd) ? Sys().windows.erase(it)
                                                                  : std::next(it);
        }
        return true;
    }
    std::unique_ptr<afx::PaintSession> BeginPaint(HWND hWnd) override {
        return IsWindow(hWnd) ? std::make_unique<FakePaintSession>() : nullptr;
    }

    int ComboSelection(HWND hWnd) override {
        FakeWindow* w = Sys().Find(hWnd);
        return w ? w->curSel : CB_ERR;
    }
    int ComboSelect(HWND hWnd, int index) override {
        FakeWindow* w = Sys().Find(hWnd);
        if (!w) return CB_ERR;
        w->curSel = index >= 0 && index < static_cast<int>(w->items.size()) ? index : CB_ERR;
        return w->curSel;
    }
    int ComboInsert(HWND hWnd, int index, const char* text) override {
        FakeWindow* w = Sys().Find(hWnd);
        if (!w || index < 0 || static_cast<std::size_t>(index) > w->items.size()) return CB_ERR;
        w->items.insert(w->items.begin() + index, text);
        return index;
    }
    int ComboItemHeight(HWND hWnd, int) override {
        FakeWindow* w = Sys().Find(hWnd);
        return w ? w->itemHeight : 0;
    }
    void ComboReset(HWND hWnd) override {
        if (FakeWindow* w = Sys().Find(hWnd)) {
            w->items.clear();
            w->curSel = CB_ERR;
        }
    }

    bool SetTimer(HWND hWnd, UINT_PTR id, UINT ms) override {
        if (!IsWindow(hWnd)) return false;
        Sys().timers[{hWnd, id}] = ms;
        ++Sys().timersStarted;
        return true;
    }
    bool KillTimer(HWND hWnd, UINT_PTR id) override { return Sys().timers.erase({hWnd, id}) > 0; }
    bool IsPortDeviceChange(UINT event, LPARAM) override { return event == DBT_DEVNODES_CHANGED; }

    std::unique_ptr<afx::DeviceNotification> NotifyPortDevices(HWND hWnd) override {
        class Notification : public afx::DeviceNotification {
        public:
            explicit Notification(HWND watched) : m_watched(watched) {
                Sys().watchedWindows.push_back(watched);
            }
            ~Notification() override {
                auto& all = Sys().watchedWindows;
                const auto found = std::find(all.begin(), all.end(), m_watched);
                if (found != all.end()) all.erase(found);
            }

        private:
            HWND m_watched;
        };
        return std::make_unique<Notification>(hWnd);
    }

    HWND CreateToolTip(HWND hWndParent, DWORD) override { return Sys().Create(hWndParent, 0, 0); }
    bool AddTool(HWND, HWND hWndTool, UINT nIDText) override {
        Sys().tools.emplace_back(hWndTool, nIDText);
        return true;
    }
    int SetMaxTipWidth(HWND hWnd, int width) override {
        FakeWindow* w = Sys().Find(hWnd);
        if (!w) return -1;
        const int previous = w->maxTipWidth;
        w->maxTipWidth = width;
        return previous;
    }
    void ActivateToolTip(HWND hWnd, bool active) override {
        if (FakeWindow* w = Sys().Find(hWnd)) w->tipActive = active;
    }
    void RelayToolTipEvent(HWND, MSG*) override {}

    bool RunModal(CDialog& dialog, HWND hWndOwner) override {
        FakeSystem& sys = Sys();
        sys.modalRuns.emplace_back(dialog.GetTemplateId(), hWndOwner);
        HWND hDlg = sys.Create(hWndOwner, 0, 0);
        for (int id : sys.templates[dialog.GetTemplateId()])
            sys.Create(hDlg, id);
        dialog.HandleInitDialog(hDlg);
        if (sys.whileModal && !dialog.IsModalLoopDone()) {
            auto script = std::move(sys.whileModal);  // nested dialogs run no script
            script(dialog);
        }
        DestroyWindow(hDlg);
        return true;
    }
    // The script above is the whole loop: nothing waits to be woken, nothing is queued.
    void WakeModalLoop(HWND) override {}
    bool IsDialogMessage(HWND, MSG*) override { return false; }
    bool PeekMessage() override { return false; }
    bool PumpMessage() override { return false; }

    bool LoadString(UINT nID, std::string& text) override {
        auto found = Sys().strings.find(nID);
        if (found == Sys().strings.end()) return false;
        text = found->second;
        return true;
    }
    HICON LoadIcon(UINT nID) override {
        return reinterpret_cast<HICON>(static_cast<std::uintptr_t>(0x9000 + nID));
    }
    int MessageBox(HWND, const char* text, const char* caption, UINT nType) override {
        Sys().boxes.push_back({text, caption, nType});
        if (auto script = std::move(Sys().whileBox)) script();
        return IDOK;
    }
    int GetSystemMetrics(int nIndex) override {
        return nIndex == SM_CXICON || nIndex == SM_CYICON ? 32 : 0;
    }
    void InitCommonControls() override {}
};

}  // namespace

void FakeSystem::Reset() {
    *this = FakeSystem();
    static FakeBackend backend;
    afx::RegisterBackend(&backend);
}
