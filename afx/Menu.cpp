#include "afx/Menu.h"

#include <map>

#include "afx/Backend.h"

CMenu* CMenu::FromHandle(HMENU hMenu) {
    if (hMenu == nullptr) return nullptr;
    // One object per handle, kept for the program's life: only the system menu ever comes here.
    static std::map<HMENU, CMenu> objects;
    CMenu& menu = objects[hMenu];
    menu.m_hMenu = hMenu;
    return &menu;
}

bool CMenu::AppendMenu(UINT nFlags, UINT_PTR nIDNewItem, const char* lpszNewItem) {
    return afx::TheBackend().AppendMenu(m_hMenu, nFlags, nIDNewItem, lpszNewItem);
}
