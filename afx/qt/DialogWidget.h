#pragma once
// A dialog's window made from its template: the top-level widget, which hands the dialog object
// its events (painting, clicks, Enter for the focused or default button, Escape and the close box
// for IDCANCEL, F1, the context menu standing for the system menu), and its controls.

#include <QDialog>

#include <functional>
#include <string>
#include <vector>

#include "afx/Types.h"
#include "afx/res/DialogTemplate.h"

class QLabel;

namespace afx::qt {

class DialogWidget : public QDialog {
public:
    using QDialog::QDialog;

    void SetHandle(HWND handle) { m_handle = handle; }

    // The command of control id (a click, Enter, Escape). A command whose handler is still
    // running (it lets events through) is dropped, so the handler never runs nested.
    void Command(int id);
    // A control's notification other than a click (CBN_DROPDOWN).
    void Notify(int id, UINT code) { Send(WM_COMMAND, AfxMakeWParam(static_cast<UINT>(id), code)); }

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
    void Send(UINT message, WPARAM wParam);

    HWND m_handle = nullptr;
    bool m_painted = false;
    std::vector<std::function<void()>> m_afterFirstPaint;
};

// The dialog's handle, made as CreateDialogIndirect makes it: controls in template order
// (creation, stacking and tab order), rectangles from dialog units of the template's font,
// styles honoured. The window is not shown yet; its events go to the object bound to the handle.
HWND CreateDialogWindow(const afx::res::DialogTemplate& dialogTemplate, HWND owner);

// Static text as a static control shows it (afx::res::StaticDisplayText).
QString StaticDisplayText(const std::string& text, bool noPrefix);

// Tells screen readers that a result field's value changed.
void NotifyFieldText(QLabel& label, const QString& before);

// The widget in its paintEvent right now, or nullptr: painting is only allowed there.
QWidget* WidgetInPaint();

}  // namespace afx::qt
