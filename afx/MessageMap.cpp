#include "afx/MessageMap.h"

const AFX_MSGMAP* CCmdTarget::GetMessageMap() const { return GetThisMessageMap(); }

const AFX_MSGMAP* CCmdTarget::GetThisMessageMap() {
    static const AFX_MSGMAP_ENTRY entries[] = {{0, 0, 0, nullptr}};
    static const AFX_MSGMAP map = {nullptr, &entries[0]};
    return &map;
}

bool CCmdTarget::OnCmdMsg(UINT nID, UINT nCode) {
    LRESULT ignored = 0;
    return DispatchMessageMap({WM_COMMAND, AfxMakeWParam(nID, nCode), 0}, &ignored);
}

bool CCmdTarget::DispatchMessageMap(const AfxMessage& msg, LRESULT* pResult) {
    // The first entry for msg in this class's map, else in its base classes' maps.
    for (const AFX_MSGMAP* map = GetMessageMap(); map != nullptr;
         map = map->pfnGetBaseMap ? map->pfnGetBaseMap() : nullptr) {
        for (const AFX_MSGMAP_ENTRY* entry = map->lpEntries; entry->nMessage != 0; ++entry) {
            if (entry->nMessage == msg.message &&
                (msg.message != WM_COMMAND ||
                 (entry->nCode == AfxHiWord(msg.wParam) && entry->nID == AfxLoWord(msg.wParam)))) {
                *pResult = entry->pfn(*this, msg);
                return true;
            }
        }
    }
    return false;
}
