#pragma once
// The framework's back end over Qt 6 Widgets: each operation of afx/Backend.h done with the
// widget it names. Dialogs are built from the program's compiled templates (DialogBuilder.cpp).

#include <QFont>
#include <QString>

#include <functional>

#include "afx/Backend.h"
#include "afx/res/ProgramResources.h"
#include "sys/posix/Uevents.h"

namespace afx::qt {

class QtBackend : public afx::Backend {
public:
    HWND GetDlgItem(HWND hDlg, int nID) override;
    HWND GetParent(HWND hWnd) override;
    bool IsWindow(HWND hWnd) override;
    void SetWindowText(HWND hWnd, const char* text) override;
    bool EnableWindow(HWND hWnd, bool enable) override;
    bool ModifyStyle(HWND hWnd, DWORD remove, DWORD add) override;
    bool SetWindowPos(HWND hWnd, HWND insertAfter, int x, int y, int cx, int cy,
                      UINT swpFlags) override;
    CRect GetWindowRect(HWND hWnd) override;
    CRect GetClientRect(HWND hWnd) override;
    void Invalidate(HWND hWnd, bool erase) override;
    LRESULT SendMessage(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) override;
    // Widgets handle their own events: nothing is left over for a default procedure.
    LRESULT DefWindowProc(HWND, UINT, WPARAM, LPARAM) override { return 0; }
    HICON SetIcon(HWND hWnd, HICON icon, bool big) override;
    HMENU GetSystemMenu(HWND hWnd, bool revert) override;
    bool AppendMenu(HMENU hMenu, UINT flags, UINT_PTR id, const char* text) override;
    bool IsIconic(HWND hWnd) override;
    // Qt places a dialog over its owner, or the screen, when it first shows.
    void CenterWindow(HWND) override {}
    bool DestroyWindow(HWND hWnd) override;
    std::unique_ptr<afx::PaintSession> BeginPaint(HWND hWnd) override;

    int ComboSelection(HWND hWnd) override;
    int ComboSelect(HWND hWnd, int index) override;
    int ComboInsert(HWND hWnd, int index, const char* text) override;
    int ComboItemHeight(HWND hWnd, int index) override;
    void ComboReset(HWND hWnd) override;
    HWND CreateToolTip(HWND parent, DWORD style) override;
    bool AddTool(HWND toolTip, HWND tool, UINT textId) override;
    int SetMaxTipWidth(HWND toolTip, int width) override;
    void ActivateToolTip(HWND toolTip, bool active) override;
    // Qt's tooltips follow the mouse themselves.
    void RelayToolTipEvent(HWND, MSG*) override {}

    bool SetTimer(HWND hWnd, UINT_PTR id, UINT ms) override;
    bool KillTimer(HWND hWnd, UINT_PTR id) override;
    // The kernel's tty events, told as DBT_DEVNODES_CHANGED; other events are not.
    std::unique_ptr<afx::DeviceNotification> NotifyPortDevices(HWND hWnd) override;
    bool IsPortDeviceChange(UINT event, LPARAM) override { return event == DBT_DEVNODES_CHANGED; }

    bool RunModal(CDialog& dialog, HWND owner) override;
    void WakeModalLoop(HWND hDlg) override;
    // The dialog widget handles its keys itself (DialogWidget::keyPressEvent).
    bool IsDialogMessage(HWND, MSG*) override { return false; }
    bool PeekMessage() override;
    bool PumpMessage() override;

    bool LoadString(UINT nID, std::string& text) override;
    HICON LoadIcon(UINT nID) override;
    int MessageBox(HWND owner, const char* text, const char* caption, UINT type) override;
    int GetSystemMetrics(int index) override;
    // Qt's widgets need no registration of their classes.
    void InitCommonControls() override {}

private:
    bool m_pumpedSincePeek = false;
};

// The one instance, registered by RunProgram (and by test programs that make their own
// QApplication).
QtBackend& TheQtBackend();

// The program's resources in the user's language, chosen once per run so that dialogs and
// strings never mix languages. A std::logic_error when the program has handed over none.
const afx::res::ProgramResources& Resources();

// Tooltip text laid out as a Windows tooltip with a maximum width: lines break where "\r\n"
// stands, and a line wider than the maximum wraps at word boundaries (Qt never wraps a plain
// tooltip by itself).
QString WrapTipText(const QString& text, const QFont& font, int maxWidth);

// Each new device notification opens its events with open (the default opens the kernel's;
// tests hand in a socket they write to). Empty: the default again.
void SetUeventOpener(std::function<sys::posix::UeventSocket()> open);

}  // namespace afx::qt
