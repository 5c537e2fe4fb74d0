#pragma once
// The top-level widget of a dialog made from a template. It turns Qt's events into the
// dialog's messages: painting (WM_PAINT), the close box (WM_SYSCOMMAND SC_CLOSE), Enter and
// Escape (WM_COMMAND of the default button and of IDCANCEL, whether those buttons show or not),
// F1, the context menu standing for the system menu; and it offers every input event of its
// window for pre-translation before any widget sees it, as a Win32 message loop does.

#include <QDialog>

#include "afx/Types.h"

namespace afx::qt {

class DialogWidget : public QDialog {
public:
    DialogWidget(QWidget* owner, Qt::WindowFlags flags);

    void SetHandle(HWND handle) { m_handle = handle; }
    HWND Handle() const { return m_handle; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool PreTranslate(QEvent* event);
    void PressDefaultButton();

    HWND m_handle = nullptr;
    bool m_filterInstalled = false;
};

// The widget being painted by its paintEvent right now, or nullptr: painting is only allowed
// there.
QWidget* WidgetInPaint();

}  // namespace afx::qt
