#include "afx/MessageMap.h"

namespace {

bool Matches(const AFX_MSGMAP_ENTRY& entry, const AfxMessage& msg) {
    return entry.nMessage == msg.message &&
           (msg.message != WM_COMMAND ||
            (entry.nCode == AfxHiWord(msg.wParam) && entry.nID == AfxLoWord(msg.wParam)));
}

// The entry that handles msg in this map or a base map, or nullptr.
const AFX_MSGMAP_ENTRY* FindEntry(const AFX_MSGMAP* map, const AfxMessage& msg) {
    for (; map != nullptr; map = map->pfnGetBaseMap ? map->pfnGetBaseMap() : nullptr) {
        for (const AFX_MSGMAP_ENTRY* entry = map->lpEntries; entry->nMessage != 0; ++entry) {
            if (Matches(*entry, msg)) return entry;
        }
    }
    return nullptr;
}

}  // namespace

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
    const AFX_MSGMAP_ENTRY* entry = FindEntry(GetMessageMap(), msg);
    if (entry == nullptr) return false;
    *pResult = entry->pfn(*this, msg);
    return true;
}
