#include "afx/PaintDC.h"

#include "afx/Backend.h"
#include "afx/Wnd.h"

CDC::CDC() = default;
CDC::~CDC() = default;

bool CDC::DrawIcon(int x, int y, HICON hIcon) {
    return m_session != nullptr && hIcon != nullptr && m_session->DrawIcon(x, y, hIcon);
}

CPaintDC::CPaintDC(CWnd* pWnd) {
    if (pWnd == nullptr || pWnd->m_hWnd == nullptr) return;
    m_session = afx::TheBackend().BeginPaint(pWnd->m_hWnd);
    if (m_session != nullptr) m_hDC = m_session->Hdc();
}
