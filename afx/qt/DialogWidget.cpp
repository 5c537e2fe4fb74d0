#include "afx/qt/DialogWidget.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QPaintEvent>

#include <utility>

#include "afx/Dialog.h"
#include "afx/qt/Handles.h"
#include "afx/qt/QtBackend.h"

namespace afx::qt {
namespace {

QWidget* g_widgetInPaint = nullptr;
UINT g_helpKeyCommand = 0;

}  // namespace

void SetHelpKeyCommand(UINT sysCommand) { g_helpKeyCommand = sysCommand; }

QWidget* WidgetInPaint() { return g_widgetInPaint; }

void DialogWidget::Command(int id) {
    HWND__* record = Find(m_handle);
    if (record == nullptr || record->runningCommand == id) return;
    const int outer = record->runningCommand;
    record->runningCommand = id;
    Send(WM_COMMAND, AfxMakeWParam(static_cast<UINT>(id), BN_CLICKED));
    // The handler may have ended with the dialog destroyed.
    if (HWND__* still = Find(m_handle)) still->runningCommand = outer;
}

// Every event reaches the dialog object as the window system would send it, through its
// handle: the same route as timers and device events.
void DialogWidget::Send(UINT message, WPARAM wParam) {
    if (Find(m_handle) != nullptr) TheQtBackend().SendMessage(m_handle, message, wParam, 0);
}

void DialogWidget::AfterFirstPaint(std::function<void()> work) {
    if (m_painted)
        work();
    else
        m_afterFirstPaint.push_back(std::move(work));
}

void DialogWidget::paintEvent(QPaintEvent* event) {
    QWidget* const outer = g_widgetInPaint;
    g_widgetInPaint = this;
    Send(WM_PAINT, 0);  // a handler's failure is reported, never thrown
    g_widgetInPaint = outer;
    event->accept();
    if (!m_painted) {
        m_painted = true;
        // Queued: Qt hands the painted window to the window system before the next event.
        QMetaObject::invokeMethod(
            this,
            [this] {
                for (const auto& work : std::exchange(m_afterFirstPaint, {}))
                    work();
            },
            Qt::QueuedConnection);
    }
}

void DialogWidget::closeEvent(QCloseEvent* event) {
    // The window stays until the dialog ends itself: the close box is Cancel.
    event->ignore();
    // While a modal window of its own is open the dialog takes no input, as its owner on Windows.
    const QWidget* modal = QApplication::activeModalWidget();
    if (isEnabled() && (modal == nullptr || modal == this)) Command(IDCANCEL);
}

void DialogWidget::keyPressEvent(QKeyEvent* event) {
    const Qt::KeyboardModifiers modifiers =
        event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    const bool plain = modifiers == Qt::NoModifier;
    const int key = event->key();
    if (plain && key == Qt::Key_Escape) {
        Command(IDCANCEL);
    } else if (plain && (key == Qt::Key_Return || key == Qt::Key_Enter)) {
        PressDefaultButton();
    } else if (plain && key == Qt::Key_F1) {
        const HWND__* record = Find(m_handle);
        if (g_helpKeyCommand != 0 && record != nullptr && record->systemMenu &&
            record->systemMenu->Has(g_helpKeyCommand))
            Send(WM_SYSCOMMAND, g_helpKeyCommand);
        else
            Send(WM_HELP, 0);
    } else if (key == Qt::Key_Menu || (key == Qt::Key_F10 && modifiers == Qt::ShiftModifier)) {
        const QWidget* focus = QApplication::focusWidget();
        const QWidget* anchor = focus != nullptr && isAncestorOf(focus) ? focus : this;
        ShowSystemMenu(anchor->mapToGlobal(QPoint(0, anchor->height() / 2)));
    } else {
        // Not QDialog's own Enter/Escape handling: the keys above are the dialog's.
        QWidget::keyPressEvent(event);
    }
}

void DialogWidget::PressDefaultButton() {
    // Enter presses the focused push button, else the dialog's default one (IDOK if none);
    // a disabled one does nothing.
    const HWND__* record = Find(m_handle);
    if (record == nullptr) return;
    const QWidget* focus = QApplication::focusWidget();
    int id = record->defaultId;
    for (HWND child : record->children)
        if (child->kind == WindowKind::Button && child->widget == focus) id = child->id;
    const HWND button = TheQtBackend().GetDlgItem(m_handle, id);
    if (button == nullptr || !button->widget || button->widget->isEnabled()) Command(id);
}

void DialogWidget::contextMenuEvent(QContextMenuEvent* event) {
    ShowSystemMenu(event->globalPos());
    event->accept();
}

void DialogWidget::ShowSystemMenu(QPoint globalPos) {
    const HWND__* record = Find(m_handle);
    if (record == nullptr || !record->systemMenu || !isEnabled()) return;
    QMenu menu(this);
    menu.setSeparatorsCollapsible(true);  // no leading separator without the window's own entries
    bool commands = false;
    for (const HMENU__::Item& item : record->systemMenu->items) {
        if (item.id == 0) {
            menu.addSeparator();
        } else {
            menu.addAction(item.text)->setData(item.id);
            commands = true;
        }
    }
    const QAction* chosen = commands ? menu.exec(globalPos) : nullptr;
    if (chosen != nullptr && Find(m_handle) != nullptr)
        Send(WM_SYSCOMMAND, chosen->data().toUInt());
}

}  // namespace afx::qt
