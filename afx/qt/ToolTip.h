#pragma once
// A tooltip control as comctl32 has it: tools are whole windows with a string id, and the
// control learns where the mouse is only from the messages relayed to it (TTM_RELAYEVENT).
// After the mouse rests on a tool for the initial delay the tip shows, wrapped to the maximum
// tip width; leaving the tool or pressing a button hides it.

#include <QObject>
#include <QPoint>
#include <QTimer>

#include <vector>

#include "afx/Types.h"

namespace afx::qt {

class ToolTip : public QObject {
public:
    ToolTip();

    bool AddTool(HWND tool, UINT textId);
    // TTM_ messages; false when msg is not one of them.
    bool HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);

    // The text shown for a tool, laid out as it shows: empty when the tool is not registered.
    QString TipText(HWND tool) const;

    static constexpr int kInitialDelayMs = 500;  // comctl32's default: the double-click time

private:
    struct Tool {
        HWND window;
        UINT textId;
    };

    void Relay(const MSG& msg);
    const Tool* FindTool(HWND window) const;
    void Show();
    void Hide();

    std::vector<Tool> m_tools;
    int m_maxWidth = -1;  // no wrapping, as comctl32 without TTM_SETMAXTIPWIDTH
    bool m_active = true;
    HWND m_current = nullptr;  // the tool under the mouse
    bool m_suppressed = false; // a button was pressed on it: no tip until the mouse leaves
    bool m_showing = false;
    QPoint m_cursor;
    QTimer m_showTimer;
};

}  // namespace afx::qt
