#include "afx/qt/Window.h"

#include <QAction>
#include <QMenu>

#include <algorithm>

namespace afx::qt {

namespace {

std::vector<std::unique_ptr<HWND__>>& Windows() {
    static std::vector<std::unique_ptr<HWND__>> windows;
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
    Windows().push_back(std::move(record));
    return handle;
}

HWND__* Find(HWND handle) {
    if (handle == nullptr) return nullptr;
    const auto& windows = Windows();
    const auto found = std::find_if(windows.begin(), windows.end(),
                                    [handle](const auto& record) { return record.get() == handle; });
    return found == windows.end() ? nullptr : found->get();
}

void RemoveWindow(HWND handle) {
    auto& windows = Windows();
    const auto found = std::find_if(windows.begin(), windows.end(),
                                    [handle](const auto& record) { return record.get() == handle; });
    if (found == windows.end()) return;
    // Out of the list first, so the widgets' destroyed signals find nothing to remove twice.
    const std::unique_ptr<HWND__> record = std::move(*found);
    windows.erase(found);
    for (HWND child : record->children) RemoveWindow(child);
    std::vector<HWND> owned;
    for (const auto& other : windows)
        if (other->parent == handle) owned.push_back(other.get());
    for (HWND other : owned) RemoveWindow(other);
}

QWidget* WidgetOf(HWND handle) {
    const HWND__* record = Find(handle);
    return record != nullptr ? record->widget.data() : nullptr;
}

}  // namespace afx::qt

UINT HMENU__::FirstCommand() const {
    for (const Item& item : items)
        if (item.id != 0) return item.id;
    return 0;
}

UINT HMENU__::Popup(QWidget* parent, QPoint globalPos) const {
    if (FirstCommand() == 0) return 0;
    QMenu menu(parent);
    menu.setSeparatorsCollapsible(true);  // no leading separator without the window's own entries
    for (const Item& item : items) {
        if (item.id == 0)
            menu.addSeparator();
        else
            menu.addAction(item.text)->setData(item.id);
    }
    const QAction* chosen = menu.exec(globalPos);
    return chosen != nullptr ? chosen->data().toUInt() : 0;
}
