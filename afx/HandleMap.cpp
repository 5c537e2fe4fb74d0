#include "afx/HandleMap.h"

#include <memory>
#include <unordered_map>

#include "afx/Backend.h"
#include "afx/Wnd.h"

namespace afx_detail {
namespace {

std::unordered_map<HWND, CWnd*>& Permanent() {
    static std::unordered_map<HWND, CWnd*> map;
    return map;
}

// A temporary object only wraps its handle; it never owns or destroys the window.
class CTempWnd : public CWnd {};

std::unordered_map<HWND, std::unique_ptr<CWnd>>& Temporary() {
    static std::unordered_map<HWND, std::unique_ptr<CWnd>> map;
    return map;
}

}  // namespace

CWnd* LookupPermanent(HWND hWnd) {
    auto found = Permanent().find(hWnd);
    return found == Permanent().end() ? nullptr : found->second;
}

void BindPermanent(HWND hWnd, CWnd* pWnd) { Permanent()[hWnd] = pWnd; }

void UnbindPermanent(HWND hWnd, const CWnd* pWnd) {
    auto found = Permanent().find(hWnd);
    if (found != Permanent().end() && found->second == pWnd) Permanent().erase(found);
}

void UnbindDestroyed() {
    auto& map = Permanent();
    for (auto it = map.begin(); it != map.end();) {
        if (afx::TheBackend().IsWindow(it->first)) {
            ++it;
        } else {
            it->second->m_hWnd = nullptr;
            it = map.erase(it);
        }
    }
}

CWnd* TemporaryFor(HWND hWnd) {
    std::unique_ptr<CWnd>& slot = Temporary()[hWnd];
    if (!slot) {
        slot = std::make_unique<CTempWnd>();
        slot->m_hWnd = hWnd;
    }
    return slot.get();
}

}  // namespace afx_detail
