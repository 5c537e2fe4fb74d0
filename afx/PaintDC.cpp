#include "afx/PaintDC.h"

#include "afx/Backend.h"
#include "afx/Wnd.h"

CPaintDC::CPaintDC(CWnd* pWnd) {
    if (pWnd != nullptr && pWnd->m_hWnd != nullptr)
        m_session = afx::TheBackend().BeginPaint(pWnd->m_hWnd);
}

CPaintDC::~CPaintDC() = default;

HDC CPaintDC::GetSafeHdc() const { return m_session != nullptr ? m_session->Hdc() : nullptr; }

bool CPaintDC::DrawIcon(int x, int y, HICON hIcon) {
    return m_session != nullptr && hIcon != nullptr && m_session->DrawIcon(x, y, hIcon);
}
