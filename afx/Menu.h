#pragma once
// CMenu: a menu handle. Menus here are the window system's (the system menu); nothing owns one.

#include "afx/Types.h"

class CMenu {
public:
    CMenu() = default;
    CMenu(const CMenu&) = delete;
    CMenu& operator=(const CMenu&) = delete;

    HMENU m_hMenu = nullptr;

    // A framework-owned object for hMenu (nullptr for none), valid while the program runs.
    static CMenu* FromHandle(HMENU hMenu);

    // MF_SEPARATOR (no id, no text) or MF_STRING with a command id and its text.
    bool AppendMenu(UINT nFlags, UINT_PTR nIDNewItem = 0, const char* lpszNewItem = nullptr);
};
