// Modal dialogs and the thread's events over Qt's event loop.
#include <QApplication>
#include <QEventLoop>
#include <QPointer>

#include <utility>

#include "afx/Dialog.h"
#include "afx/qt/DialogWidget.h"
#include "afx/qt/QtBackend.h"
#include "afx/qt/Handles.h"

namespace afx::qt {
namespace {

// The first visible, enabled control in tab order takes the focus, as when a dialog's
// initialisation asks the window system to focus its first tab stop.
void FocusFirstTabStop(const HWND__& dialog) {
    for (HWND child : dialog.children) {
        QWidget* control = child->widget;
        if (control != nullptr && (control->focusPolicy() & Qt::TabFocus) && control->isVisible() &&
            control->isEnabled()) {
            control->setFocus(Qt::TabFocusReason);
            return;
        }
    }
}

}  // namespace

bool QtBackend::RunModal(CDialog& dialog, HWND owner) {
    const auto dialogTemplate =
        Resources().Dialog(static_cast<std::uint16_t>(dialog.GetTemplateId()));
    if (!dialogTemplate) return false;
    const HWND hDlg = CreateDialogWindow(*dialogTemplate, owner);
    QPointer<QWidget> widget = WidgetOf(hDlg);
    // Qt's modality blocks input to every other window, as disabling the owner does.
    widget->setWindowModality(Qt::ApplicationModal);

    const bool focusFirst = dialog.HandleInitDialog(hDlg);
    if (HWND__* window = Find(hDlg); window != nullptr && !dialog.IsModalLoopDone()) {
        widget->show();
        widget->raise();
        widget->activateWindow();
        if (focusFirst) FocusFirstTabStop(*window);
        QEventLoop loop;
        window->modalLoop = &loop;
        while (!dialog.IsModalLoopDone() && Find(hDlg) != nullptr)
            loop.exec(QEventLoop::DialogExec);
        if (HWND__* still = Find(hDlg)) still->modalLoop = nullptr;
    }
    DestroyWindow(hDlg);
    delete widget.data();  // the loop has returned: no handler of the widget is running
    if (QWidget* ownerWidget = WidgetOf(owner)) ownerWidget->activateWindow();
    return true;
}

void QtBackend::WakeModalLoop(HWND hDlg) {
    const HWND__* window = Find(hDlg);
    if (window != nullptr && window->modalLoop != nullptr) window->modalLoop->quit();
}

// A Peek/Pump round processes what is pending once; the next Peek ends the round.
bool QtBackend::PeekMessage() { return !std::exchange(m_pumpedSincePeek, false); }

bool QtBackend::PumpMessage() {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    m_pumpedSincePeek = true;
    return true;
}

}  // namespace afx::qt
