// The window operations of afx/Backend.h over the back end's window table.
#include <QAbstractItemView>
#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScreen>

#include <algorithm>

#include "afx/Backend.h"
#include "afx/qt/Delivery.h"
#include "afx/qt/DialogBuilder.h"
#include "afx/qt/Icons.h"
#include "afx/qt/PaintState.h"
#include "afx/qt/SystemMenu.h"
#include "afx/qt/ToolTip.h"
#include "afx/qt/WinConstants.h"
#include "afx/qt/WindowTable.h"

using afx::qt::Window;
using afx::qt::WindowKind;
using afx::qt::WindowTable;

namespace {

Window* Find(HWND hWnd) { return WindowTable::Instance().Find(hWnd); }

QWidget* Widget(HWND hWnd)
{
    Window* window = Find(hWnd);
    return window != nullptr ? window->widget.data() : nullptr;
}

QString FromUtf8(const char* text) { return QString::fromUtf8(text != nullptr ? text : ""); }

bool ExplicitlyEnabled(const QWidget& widget) { return !widget.testAttribute(Qt::WA_ForceDisabled); }

// Visible by its own style bit, whatever its parent's state (GetWindowLong's WS_VISIBLE).
bool OwnVisible(const Window& window)
{
    if (!window.widget)
        return false;
    return window.kind == WindowKind::Dialog ? window.widget->isVisible() : !window.widget->isHidden();
}

// The height of one entry of the list, the unit a drop-down's list height is counted in.
int ComboItemHeight(QComboBox& combo)
{
    const int rowHeight = combo.count() > 0 ? combo.view()->sizeHintForRow(0) : 0;
    return std::max(combo.fontMetrics().height(), rowHeight);
}

LRESULT ComboMessage(QComboBox& combo, UINT message, WPARAM wParam, LPARAM lParam)
{
    const int count = combo.count();
    const int index = static_cast<int>(static_cast<INT_PTR>(wParam));
    switch (message) {
    case CB_GETCOUNT:
        return count;
    case CB_GETCURSEL:
        return combo.currentIndex() >= 0 ? combo.currentIndex() : CB_ERR;
    case CB_SETCURSEL:
        if (index < 0 || index >= count) {
            combo.setCurrentIndex(-1);
            return CB_ERR;
        }
        combo.setCurrentIndex(index);
        return index;
    case CB_INSERTSTRING: {
        // At the position given, never sorted; -1 appends.
        const int at = index == -1 ? count : index;
        if (at < 0 || at > count)
            return CB_ERR;
        combo.insertItem(at, FromUtf8(reinterpret_cast<const char*>(lParam)));
        return at;
    }
    case CB_GETITEMHEIGHT:
        // The selection field shows one entry: the same height either way.
        return ComboItemHeight(combo);
    default:
        return 0;
    }
}

LRESULT SetIcon(Window& window, WPARAM kind, HICON icon)
{
    const std::size_t slot = kind == ICON_BIG ? 1 : 0;
    const HICON previous = window.icons[slot];
    window.icons[slot] = icon;
    if (window.widget) {
        const HICON shown = window.icons[1] != nullptr ? window.icons[1] : window.icons[0];
        window.widget->setWindowIcon(afx::qt::IconOf(shown));
    }
    return reinterpret_cast<LRESULT>(previous);
}

afx::qt::SystemMenu* FindMenu(HMENU hMenu)
{
    // Menu handles are the dialogs' system menus; anything else is unknown.
    auto* menu = reinterpret_cast<afx::qt::SystemMenu*>(hMenu);
    Window* owner = WindowTable::Instance().FindBySystemMenu(menu);
    return owner != nullptr ? owner->systemMenu.get() : nullptr;
}

}  // namespace

namespace afx_backend {

HWND GetDlgItem(HWND hDlg, int nID)
{
    Window* dialog = Find(hDlg);
    if (dialog == nullptr)
        return nullptr;
    for (HWND child : dialog->children) {
        const Window* control = Find(child);
        if (control != nullptr && control->id == nID)
            return child;
    }
    return nullptr;
}

HWND GetParent(HWND hWnd)
{
    Window* window = Find(hWnd);
    return window != nullptr ? window->parent : nullptr;
}

bool IsWindow(HWND hWnd) { return Find(hWnd) != nullptr; }

void SetWindowText(HWND hWnd, const char* text)
{
    Window* window = Find(hWnd);
    if (window == nullptr)
        return;
    window->text = text != nullptr ? text : "";
    const QString shown = FromUtf8(text);
    if (!window->widget)
        return;
    switch (window->kind) {
    case WindowKind::Dialog:
        window->widget->setWindowTitle(shown);
        break;
    case WindowKind::Button:
        static_cast<QPushButton*>(window->widget.data())->setText(shown);
        break;
    case WindowKind::Static:
        if ((window->style & afx::qt::win::kSsTypeMask) != afx::qt::win::kSsIcon) {
            const QString display = afx::qt::StaticDisplayText(shown, window->style & afx::qt::win::kSsNoPrefix);
            static_cast<QLabel*>(window->widget.data())->setText(display);
            // A result field is named after its label: its text is what a reader reads next.
            window->widget->setAccessibleDescription(display);
        }
        break;
    default:
        break;  // a drop-down list's field shows its selection only
    }
}

std::string GetWindowText(HWND hWnd)
{
    Window* window = Find(hWnd);
    if (window == nullptr)
        return {};
    if (window->kind == WindowKind::ComboBox && window->widget)
        return static_cast<QComboBox*>(window->widget.data())->currentText().toStdString();
    return window->text;
}

bool EnableWindow(HWND hWnd, bool enable)
{
    QWidget* widget = Widget(hWnd);
    if (widget == nullptr)
        return false;
    const bool wasDisabled = !ExplicitlyEnabled(*widget);
    widget->setEnabled(enable);
    return wasDisabled;
}

bool IsWindowEnabled(HWND hWnd)
{
    QWidget* widget = Widget(hWnd);
    return widget != nullptr && ExplicitlyEnabled(*widget);
}

bool IsWindowVisible(HWND hWnd)
{
    QWidget* widget = Widget(hWnd);
    return widget != nullptr && widget->isVisible();
}

DWORD GetStyle(HWND hWnd)
{
    Window* window = Find(hWnd);
    if (window == nullptr)
        return 0;
    DWORD style = window->style & ~(afx::qt::win::kWsVisible | afx::qt::win::kWsDisabled);
    if (OwnVisible(*window))
        style |= afx::qt::win::kWsVisible;
    if (window->widget && !ExplicitlyEnabled(*window->widget))
        style |= afx::qt::win::kWsDisabled;
    return style;
}

bool ModifyStyle(HWND hWnd, DWORD dwRemove, DWORD dwAdd, UINT)
{
    Window* window = Find(hWnd);
    if (window == nullptr)
        return false;
    const DWORD before = GetStyle(hWnd);
    const DWORD after = (before & ~dwRemove) | dwAdd;
    if (after == before)
        return false;
    window->style = after;
    if (window->widget) {
        window->widget->setVisible((after & afx::qt::win::kWsVisible) != 0);
        window->widget->setEnabled((after & afx::qt::win::kWsDisabled) == 0);
    }
    return true;
}

bool SetWindowPos(HWND hWnd, HWND hWndInsertAfter, int x, int y, int cx, int cy, UINT nFlags)
{
    QWidget* widget = Widget(hWnd);
    if (widget == nullptr)
        return false;
    if ((nFlags & SWP_NOMOVE) == 0)
        widget->move(x, y);  // a top-level window's frame, a control in its dialog's client area
    if ((nFlags & SWP_NOSIZE) == 0) {
        if (auto* combo = qobject_cast<QComboBox*>(widget)) {
            // A drop-down list's height includes its opened list; the field keeps its own.
            const int listHeight = cy - combo->height();
            combo->setMaxVisibleItems(std::max(1, listHeight / ComboItemHeight(*combo)));
            combo->resize(cx, combo->height());
        } else if (widget->isWindow())
            widget->setFixedSize(cx, cy);
        else
            widget->resize(cx, cy);
    }
    if ((nFlags & SWP_NOZORDER) == 0) {
        if (QWidget* after = Widget(hWndInsertAfter))
            widget->stackUnder(after);
        else if (hWndInsertAfter == nullptr)
            widget->raise();  // HWND_TOP
    }
    return true;
}

CRect GetWindowRect(HWND hWnd)
{
    QWidget* widget = Widget(hWnd);
    if (widget == nullptr)
        return {};
    const QRect rect = widget->isWindow() ? widget->frameGeometry()
                                          : QRect(widget->mapToGlobal(QPoint(0, 0)), widget->size());
    return CRect(rect.left(), rect.top(), rect.left() + rect.width(), rect.top() + rect.height());
}

CRect GetClientRect(HWND hWnd)
{
    QWidget* widget = Widget(hWnd);
    return widget != nullptr ? CRect(0, 0, widget->width(), widget->height()) : CRect();
}

void InvalidateRect(HWND hWnd, const CRect* rect, bool)
{
    QWidget* widget = Widget(hWnd);
    if (widget == nullptr)
        return;
    if (rect == nullptr)
        widget->update();
    else
        widget->update(QRect(rect->left, rect->top, rect->Width(), rect->Height()));
}

LRESULT SendMessage(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    return afx::qt::Deliver(hWnd, message, wParam, lParam);
}

LRESULT DefWindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    Window* window = Find(hWnd);
    if (window == nullptr)
        return 0;
    LRESULT result = 0;
    if (window->toolTip && window->toolTip->HandleMessage(message, wParam, lParam, result))
        return result;
    if (window->kind == WindowKind::ComboBox && window->widget)
        return ComboMessage(*static_cast<QComboBox*>(window->widget.data()), message, wParam, lParam);
    switch (message) {
    case WM_SETICON:
        return SetIcon(*window, wParam, reinterpret_cast<HICON>(lParam));
    case WM_ICONERASEBKGND:
        return afx::qt::EraseBackground(reinterpret_cast<HDC>(wParam)) ? TRUE : FALSE;
    case WM_INITDIALOG:
        return TRUE;
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) == afx::qt::win::kScClose)
            afx::qt::Deliver(hWnd, afx::qt::win::kClose, 0, 0);
        return 0;
    case afx::qt::win::kClose:
        // A dialog closes as if its Cancel button were pressed, shown or not.
        if (window->kind == WindowKind::Dialog)
            afx::qt::DeliverCommand(hWnd, IDCANCEL, BN_CLICKED);
        return 0;
    default:
        return 0;  // painting: Qt draws the dialog's background and controls itself
    }
}

HMENU GetSystemMenu(HWND hWnd, bool revert)
{
    Window* window = Find(hWnd);
    if (window == nullptr || !window->systemMenu)
        return nullptr;
    if (revert) {
        *window->systemMenu = afx::qt::SystemMenu();
        return nullptr;
    }
    return reinterpret_cast<HMENU>(window->systemMenu.get());
}

bool IsIconic(HWND hWnd)
{
    QWidget* widget = Widget(hWnd);
    return widget != nullptr && widget->isMinimized();
}

void CenterWindow(HWND hWnd, HWND hWndOwner)
{
    QWidget* widget = Widget(hWnd);
    if (widget == nullptr || !widget->isWindow())
        return;
    QRect area;
    if (QWidget* owner = Widget(hWndOwner); owner != nullptr && owner->isVisible())
        area = owner->window()->frameGeometry();
    else if (const QScreen* screen = QGuiApplication::primaryScreen())
        area = screen->availableGeometry();
    if (area.isEmpty())
        return;
    QRect frame = widget->frameGeometry();
    frame.moveCenter(area.center());
    widget->move(frame.topLeft());
}

bool DestroyWindow(HWND hWnd)
{
    Window* window = Find(hWnd);
    if (window == nullptr)
        return false;
    QPointer<QWidget> widget = window->widget;
    WindowTable::Instance().Remove(hWnd);
    if (widget) {
        widget->hide();
        // Not now: the call may come from one of the widget's own event handlers.
        widget->deleteLater();
    }
    return true;
}

HWND CreateToolTip(HWND hWndParent, DWORD)
{
    Window& window = WindowTable::Instance().Add(WindowKind::ToolTip, nullptr, hWndParent);
    window.toolTip = std::make_unique<afx::qt::ToolTip>();
    return window.handle;
}

bool AddTool(HWND hWndToolTip, HWND hWndTool, UINT nIDText)
{
    Window* window = Find(hWndToolTip);
    return window != nullptr && window->toolTip && window->toolTip->AddTool(hWndTool, nIDText);
}

bool AppendMenu(HMENU hMenu, UINT nFlags, UINT_PTR nIDNewItem, const char* lpszNewItem)
{
    afx::qt::SystemMenu* menu = FindMenu(hMenu);
    return menu != nullptr && menu->Append(nFlags, nIDNewItem, lpszNewItem);
}

}  // namespace afx_backend
