#pragma once
// This back end's handles are its own records: HWND points to the record of a dialog, a control
// or a tooltip, HMENU to a dialog's system menu and HICON to a loaded icon. The window list owns
// the window records; a handle not in it is gone.

#include <QIcon>
#include <QPixmap>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <QWidget>

#include <algorithm>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "afx/Types.h"

class QEventLoop;

namespace afx::qt {

enum class WindowKind { Dialog, Button, Static, ComboBox, ToolTip };

// A new record, owned by the window list. The widget's destruction removes it.
HWND AddWindow(WindowKind kind, QWidget* widget, HWND parent);
// The live record of handle, or nullptr.
HWND__* Find(HWND handle);
// Removes the record with its children and the windows it owns.
void RemoveWindow(HWND handle);
// The widget of a live window, or nullptr.
QWidget* WidgetOf(HWND handle);

}  // namespace afx::qt

// A dialog's system menu. Qt cannot add to the window manager's menu: the entries appended to
// it are the dialog's context menu instead.
struct HMENU__ {
    struct Item {
        UINT id = 0;  // 0: a separator
        QString text;
    };
    std::vector<Item> items;

    bool Has(UINT command) const {
        return std::any_of(items.begin(), items.end(),
                           [command](const Item& i) { return i.id == command; });
    }
};

struct HICON__ {
    QIcon icon;      // every size of the group, for window icons
    QPixmap pixmap;  // the dialog's 32-pixel picture at the screen's scale
};

struct HWND__ {
    afx::qt::WindowKind kind = afx::qt::WindowKind::Static;
    QPointer<QWidget> widget;  // none for a tooltip, whose tips Qt shows itself
    int id = 0;
    HWND parent = nullptr;     // a control's dialog, a dialog's or tooltip's owner
    std::string text;          // as last set, access-key marks included
    bool literalText = false;  // a static without access keys: "&" shows as it is

    // Dialogs.
    std::vector<HWND> children;  // template order
    int defaultId = IDOK;        // unless a default push button says otherwise
    std::unique_ptr<HMENU__> systemMenu;
    HICON icons[2] = {nullptr, nullptr};  // small, big
    QEventLoop* modalLoop = nullptr;
    int runningCommand = -1;  // the control whose click is being handled, against re-entry
    std::map<UINT_PTR, std::unique_ptr<QTimer>> timers;  // by id; WM_TIMER to the dialog

    // Tooltips.
    std::map<HWND, UINT> tools;  // window -> tip's string id
    int maxTipWidth = -1;
    bool active = true;
    bool tipsPending = false;  // to be applied once the dialog has been painted
};
