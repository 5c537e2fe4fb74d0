#include "afx/qt/InputMessages.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QCursor>

#include "afx/qt/WinConstants.h"
#include "afx/qt/WindowTable.h"

namespace afx::qt {

namespace {

LPARAM MakeLParam(int low, int high)
{
    return static_cast<LPARAM>((static_cast<unsigned>(low) & 0xFFFF) |
                               ((static_cast<unsigned>(high) & 0xFFFF) << 16));
}

// The window a mouse message goes to: the control under the mouse unless it lets the mouse
// through, as a static without SS_NOTIFY (HTTRANSPARENT) or a disabled control does.
Window* MouseTarget(QWidget* dialog, QPoint position)
{
    QWidget* under = dialog->childAt(position);
    Window* window = WindowTable::Instance().FindByWidget(under != nullptr ? under : dialog);
    if (window == nullptr || window->kind == WindowKind::Dialog)
        return window;
    const bool transparent =
        window->kind == WindowKind::Static && (window->style & win::kSsNotify) == 0;
    if (transparent || !window->widget || !window->widget->isEnabled())
        return WindowTable::Instance().Find(window->parent);
    return window;
}

UINT MouseMessage(QEvent::Type type, Qt::MouseButton button)
{
    const int column = button == Qt::RightButton ? 1 : button == Qt::MiddleButton ? 2 : 0;
    static const UINT down[] = {win::kLButtonDown, win::kRButtonDown, win::kMButtonDown};
    static const UINT up[] = {win::kLButtonUp, win::kRButtonUp, win::kMButtonUp};
    static const UINT twice[] = {win::kLButtonDblClk, win::kRButtonDblClk, win::kMButtonDblClk};
    switch (type) {
    case QEvent::MouseMove: return win::kMouseMove;
    case QEvent::MouseButtonPress: return down[column];
    case QEvent::MouseButtonRelease: return up[column];
    default: return twice[column];
    }
}

WPARAM KeyState(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers)
{
    WPARAM state = 0;
    if (buttons & Qt::LeftButton) state |= win::kMkLButton;
    if (buttons & Qt::RightButton) state |= win::kMkRButton;
    if (buttons & Qt::MiddleButton) state |= win::kMkMButton;
    if (modifiers & Qt::ShiftModifier) state |= win::kMkShift;
    if (modifiers & Qt::ControlModifier) state |= win::kMkControl;
    return state;
}

bool MouseMessageFor(QWidget* dialog, const QMouseEvent& event, MSG& msg)
{
    const QPoint inDialog = dialog->mapFromGlobal(event.globalPosition().toPoint());
    const Window* target = MouseTarget(dialog, inDialog);
    if (target == nullptr || !target->widget)
        return false;
    const QPoint client = target->widget->mapFromGlobal(event.globalPosition().toPoint());
    msg.hwnd = target->handle;
    msg.message = MouseMessage(event.type(), event.button());
    msg.wParam = KeyState(event.buttons(), event.modifiers());
    msg.lParam = MakeLParam(client.x(), client.y());
    msg.pt = {event.globalPosition().toPoint().x(), event.globalPosition().toPoint().y()};
    return true;
}

bool KeyMessageFor(QWidget* dialog, const QKeyEvent& event, MSG& msg)
{
    QWidget* focus = QApplication::focusWidget();
    const Window* target = WindowTable::Instance().FindByWidget(
        focus != nullptr && dialog->isAncestorOf(focus) ? focus : dialog);
    if (target == nullptr)
        return false;
    const bool alt = event.modifiers() & Qt::AltModifier;
    const bool down = event.type() == QEvent::KeyPress;
    msg.hwnd = target->handle;
    msg.message = down ? (alt ? win::kSysKeyDown : win::kKeyDown) : (alt ? win::kSysKeyUp : win::kKeyUp);
    msg.wParam = VirtualKey(event.key());
    // Repeat count 1; bit 29 Alt held; bit 30 the key was down before; bit 31 released.
    LPARAM flags = 1;
    if (alt) flags |= LPARAM(1) << 29;
    if (!down || event.isAutoRepeat()) flags |= LPARAM(1) << 30;
    if (!down) flags |= LPARAM(1) << 31;
    msg.lParam = flags;
    const QPoint cursor = QCursor::pos();
    msg.pt = {cursor.x(), cursor.y()};
    return true;
}

}  // namespace

WPARAM VirtualKey(int qtKey)
{
    if ((qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) || (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z))
        return static_cast<WPARAM>(qtKey);  // same codes as ASCII
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24)
        return win::kVkF1 + static_cast<WPARAM>(qtKey - Qt::Key_F1);
    switch (qtKey) {
    case Qt::Key_Backspace: return win::kVkBack;
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return win::kVkTab;
    case Qt::Key_Return:
    case Qt::Key_Enter: return win::kVkReturn;
    case Qt::Key_Shift: return win::kVkShift;
    case Qt::Key_Control: return win::kVkControl;
    case Qt::Key_Alt: return win::kVkMenu;
    case Qt::Key_Escape: return win::kVkEscape;
    case Qt::Key_Space: return win::kVkSpace;
    case Qt::Key_PageUp: return win::kVkPrior;
    case Qt::Key_PageDown: return win::kVkNext;
    case Qt::Key_End: return win::kVkEnd;
    case Qt::Key_Home: return win::kVkHome;
    case Qt::Key_Left: return win::kVkLeft;
    case Qt::Key_Up: return win::kVkUp;
    case Qt::Key_Right: return win::kVkRight;
    case Qt::Key_Down: return win::kVkDown;
    case Qt::Key_Delete: return win::kVkDelete;
    case Qt::Key_Menu: return win::kVkApps;
    default: return 0;
    }
}

bool InputMessage(QWidget* dialog, const QEvent* event, MSG& msg)
{
    msg = MSG{};
    switch (event->type()) {
    case QEvent::MouseMove:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick: {
        const auto& mouse = static_cast<const QMouseEvent&>(*event);
        msg.time = static_cast<DWORD>(mouse.timestamp());
        return MouseMessageFor(dialog, mouse, msg);
    }
    case QEvent::KeyPress:
    case QEvent::KeyRelease: {
        const auto& key = static_cast<const QKeyEvent&>(*event);
        msg.time = static_cast<DWORD>(key.timestamp());
        return KeyMessageFor(dialog, key, msg);
    }
    default:
        return false;
    }
}

}  // namespace afx::qt
