#include "afx/qt/Delivery.h"

#include <QWidget>

#include "afx/Backend.h"
#include "afx/Wnd.h"
#include "afx/qt/SystemMenu.h"
#include "afx/qt/WindowTable.h"

namespace afx::qt {

LRESULT Deliver(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (CWnd* object = CWnd::FromHandlePermanent(hWnd)) {
        LRESULT result = 0;
        if (AfxCallWndProc(object, message, wParam, lParam, &result))
            return result;
    }
    return afx_backend::DefWindowProc(hWnd, message, wParam, lParam);
}

void DeliverCommand(HWND hDlg, int id, UINT code)
{
    Window* dialog = WindowTable::Instance().Find(hDlg);
    if (dialog == nullptr || dialog->runningCommand == id)
        return;
    const int outer = dialog->runningCommand;
    dialog->runningCommand = id;
    const HWND control = afx_backend::GetDlgItem(hDlg, id);
    Deliver(hDlg, WM_COMMAND, AfxMakeWParam(static_cast<UINT>(id), code),
            reinterpret_cast<LPARAM>(control));
    // The handler may have ended with the dialog destroyed.
    if (Window* still = WindowTable::Instance().Find(hDlg))
        still->runningCommand = outer;
}

void DeliverSysCommand(HWND hDlg, UINT command)
{
    Deliver(hDlg, WM_SYSCOMMAND, command, 0);
}

void ShowSystemMenu(HWND hDlg, QPoint globalPos)
{
    Window* dialog = WindowTable::Instance().Find(hDlg);
    if (dialog == nullptr || !dialog->systemMenu || !dialog->widget || !dialog->widget->isEnabled())
        return;
    const UINT command = dialog->systemMenu->Popup(dialog->widget, globalPos);
    if (command != 0 && WindowTable::Instance().Find(hDlg) != nullptr)
        DeliverSysCommand(hDlg, command);
}

}  // namespace afx::qt
