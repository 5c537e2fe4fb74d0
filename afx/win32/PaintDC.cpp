// Painting through BeginPaint/EndPaint.
#include "afx/win32/Win32.h"

#include "afx/PaintDC.h"
#include "afx/Wnd.h"

struct CPaintDC::State {
    HWND hWnd = nullptr;
    PAINTSTRUCT paint{};
};

CPaintDC::CPaintDC(CWnd* pWnd) : m_state(std::make_unique<State>()) {
    m_state->hWnd = pWnd ? pWnd->m_hWnd : nullptr;
    if (m_state->hWnd) m_hDC = ::BeginPaint(m_state->hWnd, &m_state->paint);
}

CPaintDC::~CPaintDC() {
    if (m_hDC) ::EndPaint(m_state->hWnd, &m_state->paint);
}

bool CDC::DrawIcon(int x, int y, HICON hIcon) {
    return m_hDC && hIcon && ::DrawIcon(m_hDC, x, y, hIcon);
}
