// Painting through BeginPaint/EndPaint.
#include "afx/win32/Win32.h"

namespace afx_win32 {

namespace {

class Win32PaintSession : public afx::PaintSession {
public:
    explicit Win32PaintSession(HWND hWnd) : m_hWnd(hWnd), m_hDC(::BeginPaint(hWnd, &m_paint)) {}
    ~Win32PaintSession() override {
        if (m_hDC) ::EndPaint(m_hWnd, &m_paint);
    }
    Win32PaintSession(const Win32PaintSession&) = delete;
    Win32PaintSession& operator=(const Win32PaintSession&) = delete;

    HDC Hdc() const override { return m_hDC; }
    bool DrawIcon(int x, int y, HICON icon) override {
        return m_hDC && icon && ::DrawIcon(m_hDC, x, y, icon);
    }

private:
    HWND m_hWnd;
    PAINTSTRUCT m_paint{};
    HDC m_hDC;
};

}  // namespace

std::unique_ptr<afx::PaintSession> Win32Backend::BeginPaint(HWND hWnd) {
    if (!hWnd) return nullptr;
    return std::make_unique<Win32PaintSession>(hWnd);
}

}  // namespace afx_win32
