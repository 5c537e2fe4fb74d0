// Modal dialogs and the thread's message processing over Qt's event loop.
#include <QApplication>
#include <QEventLoop>
#include <QPointer>

#include "afx/Backend.h"
#include "afx/Dialog.h"
#include "afx/qt/DialogBuilder.h"
#include "afx/qt/Resources.h"
#include "afx/qt/WinConstants.h"
#include "afx/qt/WindowTable.h"

using afx::qt::Window;
using afx::qt::WindowKind;
using afx::qt::WindowTable;

namespace {

// Pumping: a Peek/Pump round processes what is pending once; the next Peek ends the round.
bool g_pumpedSincePeek = false;

// The first visible, enabled tab stop in template order takes the focus, as the window system
// does when WM_INITDIALOG returns TRUE.
void FocusFirstTabStop(const Window& dialog)
{
    for (HWND child : dialog.children) {
        const Window* control = WindowTable::Instance().Find(child);
        if (control == nullptr || !control->widget || (control->style & afx::qt::win::kWsTabStop) == 0)
            continue;
        if (control->widget->isVisible() && control->widget->isEnabled()) {
            control->widget->setFocus(Qt::TabFocusReason);
            return;
        }
    }
}

}  // namespace

namespace afx_backend {

bool RunModal(CDialog& dialog, HWND hWndOwner)
{
    const auto dialogTemplate = afx::qt::LoadDialogTemplate(static_cast<std::uint16_t>(dialog.GetTemplateId()));
    if (!dialogTemplate)
        return false;
    const HWND hDlg = afx::qt::CreateDialogWindow(*dialogTemplate, hWndOwner);
    QPointer<QWidget> widget = afx::qt::WidgetOf(hDlg);
    // Qt's modality blocks input to every other window, as disabling the owner does.
    widget->setWindowModality(Qt::ApplicationModal);

    const bool focusFirst = dialog.HandleInitDialog(hDlg);
    if (Window* window = WindowTable::Instance().Find(hDlg); window != nullptr && !dialog.IsModalLoopDone()) {
        widget->show();
        widget->raise();
        widget->activateWindow();
        if (focusFirst)
            FocusFirstTabStop(*window);
        QEventLoop loop;
        window->modalLoop = &loop;
        while (!dialog.IsModalLoopDone() && WindowTable::Instance().Find(hDlg) != nullptr)
            loop.exec(QEventLoop::DialogExec);
        if (Window* still = WindowTable::Instance().Find(hDlg))
            still->modalLoop = nullptr;
    }
    DestroyWindow(hDlg);
    delete widget.data();  // the loop has returned: no handler of the widget is running
    if (QWidget* owner = afx::qt::WidgetOf(hWndOwner))
        owner->activateWindow();
    return true;
}

void WakeModalLoop(HWND hDlg)
{
    Window* window = WindowTable::Instance().Find(hDlg);
    if (window != nullptr && window->modalLoop != nullptr)
        window->modalLoop->quit();
}

bool IsDialogMessage(HWND, MSG*)
{
    // Tab, Enter, Escape and the rest are the dialog's own key handling once Qt delivers the
    // event (afx/qt/DialogWidget); consuming them here would only bypass it.
    return false;
}

bool PeekMessage()
{
    if (g_pumpedSincePeek) {
        g_pumpedSincePeek = false;
        return false;
    }
    return true;
}

bool PumpMessage()
{
    // Everything pending now, including paint requests and input, which reaches pre-translation
    // through the dialogs' window filters.
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    g_pumpedSincePeek = true;
    return true;
}

int RunMessageLoop() { return QApplication::exec(); }

}  // namespace afx_backend
