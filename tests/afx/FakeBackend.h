#pragma once
// An in-memory window system behind afx/Backend.h: windows are records, messages are logged.
// Tests set it up, drive the framework through AfxCallWndProc and read back what it did.
// Reset() registers it as the framework's back end.

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "afx/Backend.h"

class CDialog;

struct FakeWindow {
    HWND parent = nullptr;
    int id = 0;
    std::string text;
    DWORD style = 0;
    bool enabled = true;
    bool iconic = false;
    CRect window{0, 0, 100, 20};
    CRect client{0, 0, 100, 20};
    std::vector<std::string> items;  // drop-down entries
    int curSel = -1;
    int itemHeight = 14;
    std::map<bool, HICON> icons;  // big -> icon
    int maxTipWidth = -1;         // tooltips
    bool tipActive = false;
};

struct FakeCall {
    HWND hWnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

struct FakeMessageBox {
    std::string text;
    std::string caption;
    UINT type;
};

class FakeSystem {
public:
    static FakeSystem& Get();
    void Reset();

    HWND Create(HWND parent, int id, DWORD style = WS_VISIBLE);
    FakeWindow* Find(HWND hWnd);
    HWND Child(HWND parent, int id);

    std::map<HWND, FakeWindow> windows;
    // Control ids each dialog template creates, by template id.
    std::map<UINT, std::vector<int>> templates;
    // What runs while a modal dialog is up (after WM_INITDIALOG); nothing by default.
    std::function<void(CDialog&)> whileModal;
    // What runs while a message box is up (its message loop delivering), once.
    std::function<void()> whileBox;

    std::vector<FakeCall> sent;       // SendMessage (typed operations are not messages)
    std::vector<FakeCall> defaulted;  // DefWindowProc
    std::vector<FakeMessageBox> boxes;
    std::vector<std::pair<UINT, HWND>> modalRuns;         // template id, owner
    std::vector<std::pair<UINT, std::string>> menuItems;  // flags, text
    std::vector<std::pair<HWND, UINT>> tools;             // tool window, string id
    std::map<UINT, std::string> strings;
    std::vector<std::pair<int, int>> drawnIcons;
    std::vector<HWND> centred;
    std::map<std::pair<HWND, UINT_PTR>, UINT> timers;  // running: window and id -> period
    int timersStarted = 0;
    std::vector<HWND> watchedWindows;  // device watches alive
    HMENU systemMenu = reinterpret_cast<HMENU>(0x5000);

private:
    std::uintptr_t m_next = 0x100;
};
