#include "afx/qt/ToolTip.h"

#include <QToolTip>
#include <QWidget>

#include "afx/qt/Resources.h"
#include "afx/qt/TipText.h"
#include "afx/qt/WinConstants.h"
#include "afx/qt/WindowTable.h"

namespace afx::qt {

ToolTip::ToolTip()
{
    m_showTimer.setSingleShot(true);
    m_showTimer.setInterval(kInitialDelayMs);
    connect(&m_showTimer, &QTimer::timeout, this, &ToolTip::Show);
}

bool ToolTip::AddTool(HWND tool, UINT textId)
{
    if (WindowTable::Instance().Find(tool) == nullptr)
        return false;
    for (Tool& existing : m_tools) {
        if (existing.window == tool) {
            existing.textId = textId;
            return true;
        }
    }
    m_tools.push_back({tool, textId});
    return true;
}

bool ToolTip::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    switch (msg) {
    case TTM_SETMAXTIPWIDTH:
        result = m_maxWidth;
        m_maxWidth = static_cast<int>(lParam);
        return true;
    case TTM_ACTIVATE:
        m_active = wParam != 0;
        if (!m_active)
            Hide();
        result = 0;
        return true;
    case TTM_RELAYEVENT:
        if (lParam != 0)
            Relay(*reinterpret_cast<const MSG*>(lParam));
        result = 0;
        return true;
    default:
        return false;
    }
}

QString ToolTip::TipText(HWND tool) const
{
    const Tool* found = FindTool(tool);
    if (found == nullptr)
        return {};
    const auto text = LoadResourceString(static_cast<std::uint16_t>(found->textId));
    if (!text)
        return {};
    return WrapTipText(QString::fromStdString(*text), QToolTip::font(), m_maxWidth);
}

void ToolTip::Relay(const MSG& msg)
{
    if (!m_active)
        return;
    switch (msg.message) {
    case win::kMouseMove:
        m_cursor = QPoint(static_cast<int>(msg.pt.x), static_cast<int>(msg.pt.y));
        if (msg.hwnd == m_current)
            return;
        Hide();
        m_current = FindTool(msg.hwnd) != nullptr ? msg.hwnd : nullptr;
        m_suppressed = false;
        if (m_current != nullptr)
            m_showTimer.start();
        return;
    case win::kLButtonDown:
    case win::kRButtonDown:
    case win::kMButtonDown:
    case win::kLButtonDblClk:
    case win::kRButtonDblClk:
    case win::kMButtonDblClk:
        Hide();
        m_suppressed = m_current != nullptr;
        return;
    default:
        return;
    }
}

const ToolTip::Tool* ToolTip::FindTool(HWND window) const
{
    for (const Tool& tool : m_tools) {
        if (tool.window == window)
            return &tool;
    }
    return nullptr;
}

void ToolTip::Show()
{
    QWidget* widget = WidgetOf(m_current);
    if (m_suppressed || widget == nullptr || !widget->isVisible())
        return;
    const QString text = TipText(m_current);
    if (text.isEmpty())
        return;
    QToolTip::showText(m_cursor, text, widget);
    m_showing = true;
}

void ToolTip::Hide()
{
    m_showTimer.stop();
    if (m_showing)
        QToolTip::hideText();
    m_showing = false;
}

}  // namespace afx::qt
