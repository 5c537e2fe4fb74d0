#include "afx/qt/WindowTable.h"

#include <QVariant>

#include "afx/qt/SystemMenu.h"
#include "afx/qt/ToolTip.h"

namespace afx::qt {

namespace {
const char* const kHandleProperty = "afxHandle";

std::uintptr_t Key(HWND handle) { return reinterpret_cast<std::uintptr_t>(handle); }
}  // namespace

Window::Window() = default;
Window::~Window() = default;

WindowTable& WindowTable::Instance()
{
    static WindowTable table;
    return table;
}

Window& WindowTable::Add(WindowKind kind, QWidget* widget, HWND parent)
{
    auto window = std::make_unique<Window>();
    window->handle = reinterpret_cast<HWND>(++m_lastHandle);
    window->kind = kind;
    window->widget = widget;
    window->parent = parent;
    const HWND handle = window->handle;
    if (widget != nullptr) {
        widget->setProperty(kHandleProperty, QVariant::fromValue<qulonglong>(Key(handle)));
        QObject::connect(widget, &QObject::destroyed, [handle] { Instance().Remove(handle); });
    }
    Window& added = *window;
    m_windows.emplace(Key(handle), std::move(window));
    return added;
}

Window* WindowTable::Find(HWND handle)
{
    const auto found = m_windows.find(Key(handle));
    return found == m_windows.end() ? nullptr : found->second.get();
}

Window* WindowTable::FindByWidget(const QWidget* widget)
{
    for (; widget != nullptr; widget = widget->parentWidget()) {
        const QVariant key = widget->property(kHandleProperty);
        if (key.isValid())
            return Find(reinterpret_cast<HWND>(static_cast<std::uintptr_t>(key.toULongLong())));
    }
    return nullptr;
}

Window* WindowTable::FindBySystemMenu(const SystemMenu* menu)
{
    for (const auto& [key, window] : m_windows) {
        if (menu != nullptr && window->systemMenu.get() == menu)
            return window.get();
    }
    return nullptr;
}

void WindowTable::Remove(HWND handle)
{
    const auto found = m_windows.find(Key(handle));
    if (found == m_windows.end())
        return;
    // Out of the table first, so the widgets' destroyed signals find nothing to remove twice.
    std::unique_ptr<Window> window = std::move(found->second);
    m_windows.erase(found);
    if (window->widget)
        window->widget->setProperty(kHandleProperty, QVariant());
    for (HWND child : window->children)
        Remove(child);
    std::vector<HWND> owned;
    for (const auto& [key, other] : m_windows) {
        if (other->parent == handle)
            owned.push_back(other->handle);
    }
    for (HWND other : owned)
        Remove(other);
}

QWidget* WidgetOf(HWND handle)
{
    Window* window = WindowTable::Instance().Find(handle);
    return window != nullptr ? window->widget.data() : nullptr;
}

}  // namespace afx::qt
