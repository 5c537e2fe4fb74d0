#include "afx/Menu.h"

#include <memory>
#include <unordered_map>

#include "afx/Backend.h"

CMenu* CMenu::FromHandle(HMENU hMenu) {
    if (hMenu == nullptr) return nullptr;
    // One object per handle, kept for the program's life: only the system menu ever comes here.
    static std::unordered_map<HMENU, std::unique_ptr<CMenu>> objects;
    std::unique_ptr<CMenu>& slot = objects[hMenu];
    if (!slot) {
        slot = std::make_unique<CMenu>();
        slot->m_hMenu = hMenu;
    }
    return slot.get();
}

bool CMenu::AppendMenu(UINT nFlags, UINT_PTR nIDNewItem, const char* lpszNewItem) {
    return afx::TheBackend().AppendMenu(m_hMenu, nFlags, nIDNewItem, lpszNewItem);
}
