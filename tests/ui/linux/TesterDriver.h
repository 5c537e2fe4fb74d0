#pragma once
// Running the tester dialog in-process and driving it as a user would, reading its controls by id.

#include <QStringList>

#include <functional>
#include <memory>
#include <string>

#include "afx/Types.h"

class QComboBox;
class QWidget;

namespace guitest {

class DialogView {
public:
    explicit DialogView(HWND dialog) : m_dialog(dialog) {}

    HWND Handle() const { return m_dialog; }
    QWidget* Dialog() const;
    QWidget* Control(int id) const;
    std::string Text(int id) const;
    bool Visible(int id) const;
    bool Enabled(int id) const;
    QComboBox* PortCombo() const;
    QStringList PortEntries() const;
    // A mouse click on TEST; returns when the command has run.
    void ClickTest() const;
    // The mouse at the middle of a control, through the dialog's window as the platform sends it.
    void HoverOver(int id) const;
    void HoverOver(QWidget* widget) const;

private:
    HWND m_dialog;
};

// Runs a CTesterDlg modally and script inside its modal loop once it shows; ends the dialog after
// the script unless the script ended it. Returns DoModal's result.
INT_PTR RunTesterDialog(const std::function<void(DialogView&)>& script);

// Processes events until condition holds or the time is up; the condition's last value.
bool WaitFor(const std::function<bool()>& condition, int timeoutMs = 5000);

// Runs action on the next modal window or pop-up menu that opens (one not open now), from inside
// that window's own event loop. Fired() tells whether it ever came.
class OnNextWindow {
public:
    explicit OnNextWindow(std::function<void(QWidget*)> action, int timeoutMs = 10000);
    ~OnNextWindow();
    OnNextWindow(const OnNextWindow&) = delete;
    OnNextWindow& operator=(const OnNextWindow&) = delete;

    bool Fired() const;

private:
    struct Watch;
    std::shared_ptr<Watch> m_watch;
};

}  // namespace guitest
