#pragma once
// The back end's windows: each handle names one record holding its widget and the Win32 facts
// Qt does not keep (control id, style bits, owner). Handles are serial numbers, never reused,
// so a stale handle is recognised as gone rather than mistaken for a new window.

#include <QPointer>
#include <QWidget>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "afx/Types.h"

class QEventLoop;
class CDialog;

namespace afx::qt {

class SystemMenu;
class ToolTip;

enum class WindowKind { Dialog, Button, Static, ComboBox, ToolTip };

struct Window {
    HWND handle = nullptr;
    WindowKind kind = WindowKind::Static;
    QPointer<QWidget> widget;  // none for a tooltip, whose tips Qt shows in windows of its own
    int id = 0;
    DWORD style = 0;
    DWORD exStyle = 0;
    HWND parent = nullptr;  // a control's dialog, a dialog's or tooltip's owner
    std::string text;       // as last set, access-key marks included


    // Dialogs.
    std::vector<HWND> children;  // template order
    int defaultId = 1;           // IDOK unless a default push button says otherwise
    std::unique_ptr<SystemMenu> systemMenu;
    HICON icons[2] = {nullptr, nullptr};  // ICON_SMALL, ICON_BIG
    QEventLoop* modalLoop = nullptr;
    int runningCommand = -1;  // control id whose click is being handled, against re-entry

    // Tooltips.
    std::unique_ptr<ToolTip> toolTip;

    Window();
    ~Window();
};

class WindowTable {
public:
    static WindowTable& Instance();

    // widget may be null (tooltips). The widget's destruction removes the record.
    Window& Add(WindowKind kind, QWidget* widget, HWND parent);
    Window* Find(HWND handle);
    // The record of widget or of the nearest ancestor that has one.
    Window* FindByWidget(const QWidget* widget);
    // The dialog whose system menu this is.
    Window* FindBySystemMenu(const SystemMenu* menu);
    // Removes the record and those of its children and owned tooltips.
    void Remove(HWND handle);

private:
    std::map<std::uintptr_t, std::unique_ptr<Window>> m_windows;
    // Above the special values (HWND_TOP 0, HWND_BOTTOM 1, HWND_TOPMOST -1, ...).
    std::uintptr_t m_lastHandle = 0x10000;
};

// The widget of a live window, or nullptr.
QWidget* WidgetOf(HWND handle);

}  // namespace afx::qt
