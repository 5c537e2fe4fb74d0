#include "afx/qt/PaintState.h"

#include "afx/Wnd.h"
#include "afx/qt/DialogWidget.h"
#include "afx/qt/Icons.h"
#include "afx/qt/WindowTable.h"

namespace {

CPaintDC::State* StateOf(HDC hdc)
{
    auto* state = reinterpret_cast<CPaintDC::State*>(hdc);
    return state != nullptr && state->painter.isActive() ? state : nullptr;
}

}  // namespace

CPaintDC::CPaintDC(CWnd* pWnd) : m_state(std::make_unique<State>())
{
    QWidget* widget = pWnd != nullptr ? afx::qt::WidgetOf(pWnd->m_hWnd) : nullptr;
    // Qt lets a widget be painted only from its paint event; elsewhere there is nothing to draw.
    if (widget == nullptr || widget != afx::qt::WidgetInPaint())
        return;
    m_state->widget = widget;
    if (m_state->painter.begin(widget))
        m_hDC = reinterpret_cast<HDC>(m_state.get());
}

CPaintDC::~CPaintDC()
{
    if (m_state->painter.isActive())
        m_state->painter.end();
}

bool CDC::DrawIcon(int x, int y, HICON hIcon)
{
    CPaintDC::State* state = StateOf(m_hDC);
    const QPixmap pixmap = afx::qt::IconPixmap(hIcon);
    if (state == nullptr || pixmap.isNull())
        return false;
    state->painter.drawPixmap(x, y, pixmap);
    return true;
}

namespace afx::qt {

bool EraseBackground(HDC hdc)
{
    CPaintDC::State* state = StateOf(hdc);
    if (state == nullptr || !state->widget)
        return false;
    state->painter.fillRect(state->widget->rect(), state->widget->palette().window());
    return true;
}

}  // namespace afx::qt
