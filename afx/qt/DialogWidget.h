#pragma once
// The top-level widget of a dialog made from a template. It hands the dialog object its events:
// painting, button clicks, Enter (the focused or default button), Escape and the close box
// (IDCANCEL), F1, and the context menu standing for the system menu.

#include <QDialog>

#include <functional>
#include <vector>

#include "afx/Types.h"

struct HMENU__;

namespace afx::qt {

class DialogWidget : public QDialog {
public:
    DialogWidget(QWidget* owner, Qt::WindowFlags flags);

    void SetHandle(HWND handle) { m_handle = handle; }

    // The command of control id (a click, Enter, Escape). A command whose handler is still
    // running (it lets events through) is dropped, so the handler never runs nested.
    void Command(int id);
    // A control's notification other than a click (CBN_DROPDOWN).
    void Notify(int id, UINT code);

    // Runs work once the dialog's first paint has gone to the window system; now if it has. For
    // work the first paint does not need.
    void AfterFirstPaint(std::function<void()> work);

protected:
    void paintEvent(QPaintEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void PressDefaultButton();
    void ShowSystemMenu(QPoint globalPos);
    // The chosen command, or 0.
    UINT Popup(const HMENU__& systemMenu, QPoint globalPos);
    void SysCommand(UINT command);
    void Send(UINT message, WPARAM wParam);

    HWND m_handle = nullptr;
    bool m_painted = false;
    std::vector<std::function<void()>> m_afterFirstPaint;
};

// What F1 does in a dialog whose system menu carries sysCommand: that command, as if chosen
// from the menu (a program that offers no help file may show its About box). Elsewhere, and by
// default (0), F1 is WM_HELP.
void SetHelpKeyCommand(UINT sysCommand);

// The widget being painted by its paintEvent right now, or nullptr: painting is only allowed
// there.
QWidget* WidgetInPaint();

}  // namespace afx::qt
