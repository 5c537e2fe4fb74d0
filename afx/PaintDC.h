#pragma once
// Device contexts: CDC draws into a window being painted; CPaintDC begins painting a window on
// construction and ends it on destruction, through the back end's paint session.

#include <memory>

#include "afx/Types.h"

class CWnd;

namespace afx {
class PaintSession;
}

class CDC {
public:
    CDC();
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;
    virtual ~CDC();

    HDC m_hDC = nullptr;
    HDC GetSafeHdc() const { return m_hDC; }

    // False when nothing is being painted.
    bool DrawIcon(int x, int y, HICON hIcon);

protected:
    std::unique_ptr<afx::PaintSession> m_session;
};

class CPaintDC : public CDC {
public:
    explicit CPaintDC(CWnd* pWnd);
};
