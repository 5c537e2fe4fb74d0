#include "afx/qt/DialogWidget.h"

#include <QApplication>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QPaintEvent>
#include <QWindow>

#include "afx/Backend.h"
#include "afx/Wnd.h"
#include "afx/qt/Delivery.h"
#include "afx/qt/InputMessages.h"
#include "afx/qt/SystemMenu.h"
#include "afx/qt/WinConstants.h"
#include "afx/qt/WindowTable.h"

namespace afx::qt {

namespace {

QWidget* g_widgetInPaint = nullptr;

class PaintScope {
public:
    explicit PaintScope(QWidget* widget) : m_saved(g_widgetInPaint) { g_widgetInPaint = widget; }
    ~PaintScope() { g_widgetInPaint = m_saved; }
    PaintScope(const PaintScope&) = delete;
    PaintScope& operator=(const PaintScope&) = delete;

private:
    QWidget* m_saved;
};

}  // namespace

QWidget* WidgetInPaint() { return g_widgetInPaint; }

DialogWidget::DialogWidget(QWidget* owner, Qt::WindowFlags flags) : QDialog(owner, flags)
{
    setSizeGripEnabled(false);
}

void DialogWidget::paintEvent(QPaintEvent* event)
{
    PaintScope scope(this);
    Deliver(m_handle, WM_PAINT, 0, 0);
    event->accept();
}

void DialogWidget::closeEvent(QCloseEvent* event)
{
    // The window stays until the dialog ends itself; the close box is a system command.
    event->ignore();
    // While a modal window of its own is open the dialog is disabled, as its owner on Windows.
    const QWidget* modal = QApplication::activeModalWidget();
    if (isEnabled() && (modal == nullptr || modal == this))
        DeliverSysCommand(m_handle, win::kScClose);
}

void DialogWidget::keyPressEvent(QKeyEvent* event)
{
    const Qt::KeyboardModifiers modifiers =
        event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    switch (event->key()) {
    case Qt::Key_Escape:
        if (modifiers == Qt::NoModifier) {
            DeliverCommand(m_handle, IDCANCEL, BN_CLICKED);
            return;
        }
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (modifiers == Qt::NoModifier || modifiers == Qt::KeypadModifier) {
            PressDefaultButton();
            return;
        }
        break;
    case Qt::Key_F1:
        if (modifiers == Qt::NoModifier) {
            // The system menu's own command (About) where the program added one; otherwise
            // the help request of Windows.
            const Window* dialog = WindowTable::Instance().Find(m_handle);
            if (dialog != nullptr && dialog->systemMenu && dialog->systemMenu->HasCommands())
                DeliverSysCommand(m_handle, dialog->systemMenu->FirstCommand());
            else
                Deliver(m_handle, WM_HELP, 0, 0);
            return;
        }
        break;
    case Qt::Key_F10:
        if (modifiers != Qt::ShiftModifier)
            break;
        Q_FALLTHROUGH();
    case Qt::Key_Menu: {
        const QWidget* focus = QApplication::focusWidget();
        const QWidget* anchor = focus != nullptr && isAncestorOf(focus) ? focus : this;
        ShowSystemMenu(m_handle, anchor->mapToGlobal(QPoint(0, anchor->height() / 2)));
        return;
    }
    default:
        break;
    }
    // Not QDialog's own Enter/Escape handling: the keys above are the dialog's.
    QWidget::keyPressEvent(event);
}

void DialogWidget::PressDefaultButton()
{
    // Enter presses the focused push button, else the dialog's default one (IDOK if none);
    // a disabled one does nothing.
    int id = -1;
    const Window* focus = WindowTable::Instance().FindByWidget(QApplication::focusWidget());
    if (focus != nullptr && focus->kind == WindowKind::Button && focus->parent == m_handle)
        id = focus->id;
    else if (const Window* dialog = WindowTable::Instance().Find(m_handle))
        id = dialog->defaultId;
    const HWND button = afx_backend::GetDlgItem(m_handle, id);
    if (button != nullptr && !afx_backend::IsWindowEnabled(button))
        return;
    DeliverCommand(m_handle, id, BN_CLICKED);
}

void DialogWidget::contextMenuEvent(QContextMenuEvent* event)
{
    ShowSystemMenu(m_handle, event->globalPos());
    event->accept();
}

void DialogWidget::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!m_filterInstalled && windowHandle() != nullptr) {
        windowHandle()->installEventFilter(this);
        m_filterInstalled = true;
    }
}

bool DialogWidget::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == windowHandle() && PreTranslate(event))
        return true;
    return QDialog::eventFilter(watched, event);
}

bool DialogWidget::PreTranslate(QEvent* event)
{
    MSG msg{};
    if (!InputMessage(this, event, msg))
        return false;
    return AfxWalkPreTranslateTree(msg.hwnd, &msg);
}

}  // namespace afx::qt
