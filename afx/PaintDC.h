#pragma once
// CPaintDC begins painting a window on construction and ends it on destruction, through the back
// end's paint session.

#include <memory>

#include "afx/Types.h"

class CWnd;

namespace afx {
class PaintSession;
}

class CPaintDC {
public:
    explicit CPaintDC(CWnd* pWnd);
    ~CPaintDC();
    CPaintDC(const CPaintDC&) = delete;
    CPaintDC& operator=(const CPaintDC&) = delete;

    // The device context, for code that passes it on; nullptr where the toolkit has none.
    HDC GetSafeHdc() const;
    // False when nothing is being painted.
    bool DrawIcon(int x, int y, HICON hIcon);

private:
    std::unique_ptr<afx::PaintSession> m_session;
};
