#include "afx/qt/Handles.h"

#include <map>

namespace afx::qt {
namespace {

std::map<HWND, std::unique_ptr<HWND__>>& Windows() {
    static std::map<HWND, std::unique_ptr<HWND__>> windows;
    return windows;
}

}  // namespace

HWND AddWindow(WindowKind kind, QWidget* widget, HWND parent) {
    auto record = std::make_unique<HWND__>();
    record->kind = kind;
    record->widget = widget;
    record->parent = parent;
    const HWND handle = record.get();
    if (widget != nullptr)
        QObject::connect(widget, &QObject::destroyed, [handle] { RemoveWindow(handle); });
    Windows().emplace(handle, std::move(record));
    return handle;
}

HWND__* Find(HWND handle) {
    const auto found = Windows().find(handle);
    return found == Windows().end() ? nullptr : found->second.get();
}

void RemoveWindow(HWND handle) {
    const auto found = Windows().find(handle);
    if (found == Windows().end()) return;
    // Out of the list first, so the widgets' destroyed signals find nothing to remove twice.
    const std::unique_ptr<HWND__> record = std::move(found->second);
    Windows().erase(found);
    // Its controls, its tooltip and the dialogs it owns.
    std::vector<HWND> owned;
    for (const auto& [other, otherRecord] : Windows())
        if (otherRecord->parent == handle) owned.push_back(other);
    for (HWND other : owned)
        RemoveWindow(other);
}

QWidget* WidgetOf(HWND handle) {
    const HWND__* record = Find(handle);
    return record != nullptr ? record->widget.data() : nullptr;
}

}  // namespace afx::qt
